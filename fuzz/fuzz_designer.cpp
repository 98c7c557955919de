// The designer as a whole under arbitrary sequences of user actions.
//
// One main window, loading the built package from its file, is kept across inputs; each input
// starts from a new, empty form with the package loaded. Each input is decoded into at most
// MaxActions actions: add a control from the palette, select controls in the control list (alone,
// with Ctrl, or none), delete controls (the Edit menu, the preview's Delete key, or deleting the
// control object through the form, which the document's history never hears of), open a row's
// in-place value editor, type keys or a whole text into it, Enter, Escape, open its value list and
// choose a line (or a line of the completion list that typing opens), press "...", and, while a
// dialog is up, choose a cell, colour or list line in it, type a text into it, OK, Cancel, Escape,
// close it; click a cell of the inspector or press a key in it, right-click a row for its context
// menu and choose a line there (Reset to Default, Edit..., Replace Colour..., whose question is
// played like any dialog) or leave it, Undo and Redo (the Edit menu's command or its key), unload
// and reload the package, process events. An action whose opcode has its top bit set is not done
// now but queued: posted as a closure, or for Enter, Escape and "..." as real input events, so
// that it runs whenever events are processed next, perhaps before the deferred dialog opens or
// inside a dialog's or menu's loop. While a modal dialog or a context menu is up, a driver timer
// keeps playing the input's actions inside its loop (an unload among them); once the input is
// spent, it closes every dialog and menu, so each run ends with nothing open.
//
// After every action the designer must be in a state its design allows:
// - no exception reached the event loop, and none left a designer call made here;
// - the inspector shows the selected objects, one row per readable and writable property that
//   has an editor, in order, and each row's value text is what a freshly made editor reads;
// - with the package loaded the registry holds the baseline plus its registrations; unloaded, it
//   holds the baseline only;
// - between two actions the only properties that changed belong to an in-place editor opened for
//   them, or to a "...", Edit... or Reset to Default chosen for them (and not yet done with): a
//   dialog writes to the property and objects it was opened for, nothing else. An Undo or Redo
//   may change anything; a Replace Colour changes values from one value to one other only;
// - at the top level, with no dialog up, no editor operation is still counted as running;
// - with the package unloaded, no editor it made is still alive (the pin below keeps its code
//   mapped here, but the designer unmaps it: whatever kept such an editor would call into nothing).
// The history: at the end of an input, with everything closed, undoing every step of the
// document's undo stack gives back the form's bytes (FormFile::serialize) from the input's start,
// and the document is no longer modified. As an input starts from an empty form, undoing the
// first Add alone would hide any wrong value, so each index of the history (with the same steps
// below it) stands for the bytes the form had there when first seen at the top level: coming back
// to it by Undo or Redo, during the input or while undoing at its end, gives the same bytes. All
// this holds only while every change goes through the history: an input that deleted a control
// object through the form is not held to it.
// The package is built with coverage counters, which libFuzzer registers when the package is
// first loaded and clears and reads between inputs; an unmapped package would leave it writing
// into whatever takes that memory next. So this target pins the package in memory (a second
// handle that is never closed): unloading still finalises it and drops its registrations, but
// it stays mapped. That the loader really unmaps it is checked by the lifecycle tests.
#include "FuzzApplication.h"
#include "FuzzSupport.h"

#include "views/MainWindow.h"
#include "views/PackagesView.h"
#include "views/PreviewWidget.h"
#include "views/PropertyInspector.h"
#include "views/ValueCombo.h"
#include "core/Document.h"
#include "core/FormFile.h"
#include "core/FormModel.h"
#include "views/PropertyModel.h"
#include "views/SharedPropertyEditor.h"

#include "host/cvcolor/CVColor.h"
#include "host/designide/DesignIntf.h"
#include "host/palmo/PalmoCollection.h"
#include "host/palmo/PalmoControl.h"
#include "host/palmo/PalmoFactory.h"
#include "host/vcl/Forms.h"
#include "host/vcl/Graphics.h"

#include <QAbstractItemView>
#include <QAction>
#include <QMenuBar>
#include <QTreeView>
#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QCompleter>
#include <QContextMenuEvent>
#include <QDialog>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMetaProperty>
#include <QMouseEvent>
#include <QPushButton>
#include <QSet>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QUndoStack>

#include <dlfcn.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <typeinfo>
#include <vector>

namespace {

using fuzz::Shown;

constexpr int MaxActions = 400;
// Dialogs nested deeper than this are closed rather than played in, to bound the stack.
constexpr int MaxNesting = 24;
// A run taking longer than this plays no further actions and closes what is open.
constexpr qint64 MaxRunMilliseconds = 20000;

// Reads the input from the front; an exhausted input reads as zeros.
class Reader {
public:
    void Reset(const std::uint8_t* Data, std::size_t Size)
    {
        FData = Data;
        FSize = Size;
        FPos = 0;
    }
    bool AtEnd() const { return FPos >= FSize; }
    std::size_t Position() const { return FPos; }
    std::uint8_t Byte() { return FPos < FSize ? FData[FPos++] : 0; }
    std::uint32_t Word()
    {
        std::uint32_t Value = 0;
        for (int I = 0; I < 4; ++I)
            Value |= std::uint32_t(Byte()) << (8 * I);
        return Value;
    }

private:
    const std::uint8_t* FData = nullptr;
    std::size_t FSize = 0;
    std::size_t FPos = 0;
};

// The designer the freshly made editors report to: they only read.
class ReadOnlyDesigner : public IDesigner {
public:
    void Modified() override {}
};

// What an editor was opened for: the objects and the property, as the user saw them.
struct Target {
    std::vector<QPointer<QObject>> Objects;
    QByteArray Property;
    std::uint64_t Sequence = 0;
    QString Via;  // for a dialog's target: "..." or the context menu's choice that opened it
};

QString Describe(const Target& T)
{
    QStringList Names;
    for (const QPointer<QObject>& Object : T.Objects)
        Names << (Object ? Object->objectName() : QStringLiteral("(gone)"));
    return Names.join(QLatin1Char(',')) + QLatin1Char('.') + QString::fromLatin1(T.Property);
}

// A keystroke into the in-place editor: an ASCII character or an editing key.
struct Keystroke {
    char Ascii;
    Qt::Key Key;
    Qt::KeyboardModifiers Modifiers;
};

constexpr Keystroke EditorKeys[] = {
    {'a', Qt::Key_unknown, {}}, {'b', Qt::Key_unknown, {}}, {'c', Qt::Key_unknown, {}}, {'d', Qt::Key_unknown, {}},
    {'e', Qt::Key_unknown, {}}, {'g', Qt::Key_unknown, {}}, {'i', Qt::Key_unknown, {}}, {'l', Qt::Key_unknown, {}},
    {'n', Qt::Key_unknown, {}}, {'o', Qt::Key_unknown, {}}, {'r', Qt::Key_unknown, {}}, {'t', Qt::Key_unknown, {}},
    {'u', Qt::Key_unknown, {}}, {'w', Qt::Key_unknown, {}}, {'T', Qt::Key_unknown, {}}, {'F', Qt::Key_unknown, {}},
    {'$', Qt::Key_unknown, {}}, {'#', Qt::Key_unknown, {}}, {'-', Qt::Key_unknown, {}}, {' ', Qt::Key_unknown, {}},
    {'0', Qt::Key_unknown, {}}, {'1', Qt::Key_unknown, {}}, {'2', Qt::Key_unknown, {}}, {'5', Qt::Key_unknown, {}},
    {'9', Qt::Key_unknown, {}}, {'f', Qt::Key_unknown, {}},
    {0, Qt::Key_Backspace, {}}, {0, Qt::Key_Delete, {}}, {0, Qt::Key_Left, {}}, {0, Qt::Key_Right, {}},
    {0, Qt::Key_Home, {}}, {0, Qt::Key_End, {}}, {0, Qt::Key_Up, {}}, {0, Qt::Key_Down, {}},
    {0, Qt::Key_A, Qt::ControlModifier}, {0, Qt::Key_Z, Qt::ControlModifier},
};

constexpr Qt::Key TableKeys[] = {Qt::Key_Up, Qt::Key_Down, Qt::Key_Tab, Qt::Key_Backtab, Qt::Key_F2,
                                 Qt::Key_Return, Qt::Key_Escape, Qt::Key_Home, Qt::Key_End, Qt::Key_T,
                                 Qt::Key_C, Qt::Key_1, Qt::Key_Dollar, Qt::Key_Space};

QString KeyText(const Keystroke& K)
{
    if (K.Ascii)
        return QString(QLatin1Char(K.Ascii));
    return QLatin1Char('<') + QKeySequence(K.Key | K.Modifiers).toString() + QLatin1Char('>');
}


// The harness's own checks need no coverage feedback: it would only slow every input down.
#define CV_NO_COVERAGE [[clang::no_sanitize("coverage")]]

class Driver {
public:
    Driver()
    {
        PackageFile = QFileInfo(QStringLiteral(CV_PACKAGE_PATH)).canonicalFilePath();
        Baseline = RegisteredEditorCount();
        MakeWindow();
        FUZZ_CHECK(Window->loader().isLoaded(), QStringLiteral("the package did not load: ") + PackageFile);
        Registrations = RegisteredEditorCount() - Baseline;
        // Pinned: see the note at the top.
        void* const Pin = dlopen(QFile::encodeName(PackageFile).constData(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
        FUZZ_CHECK(Pin != nullptr, QStringLiteral("the package could not be pinned"));
        Dl_info Where{};
        FUZZ_CHECK(dladdr(dlsym(Pin, "Initialize"), &Where) != 0 && Where.dli_fbase,
                   QStringLiteral("the package's place in memory is unknown"));
        PackageBase = Where.dli_fbase;
        FUZZ_CHECK(Registrations > 0, QStringLiteral("the package registered no editor"));
        // The comparison of values must see a value as equal to itself, or every check of writes
        // would fail for nothing.
        for (const QString& Class : PalmoControlClasses())
            Window->addControl(Class);
        const Snapshot Twice = TakeSnapshot();
        for (const auto& [Object, Entry] : TakeSnapshot())
            FUZZ_CHECK(Twice.at(Object).Values == Entry.Values,
                       QStringLiteral("the values of %1 do not compare equal to themselves").arg(Entry.Label));
        Window->document()->setModified(false);
        Window->newForm();
        UndoAction = Window->findChild<QAction*>(QStringLiteral("undoAction"));
        RedoAction = Window->findChild<QAction*>(QStringLiteral("redoAction"));
        FUZZ_CHECK(UndoAction && RedoAction, QStringLiteral("the window has no Undo or Redo action"));
        QObject::connect(Window->document()->undoStack(), &QUndoStack::indexChanged, Window, [this] { OnHistoryIndex(); });
        Poll.setInterval(0);
        QObject::connect(&Poll, &QTimer::timeout, [this] { OnPoll(); });
    }

    void Run(const std::uint8_t* Data, std::size_t Size)
    {
        Prepare();
        In.Reset(Data, Size);
        Actions = 0;
        Log.clear();
        DotsTargets.clear();
        Combos.clear();
        CloseAttempts.clear();
        Playing.clear();
        Menus.clear();
        StepPosted = false;
        FreeWrites = false;
        OutsideHistory = false;
        Clock.start();
        RunContext = std::make_unique<QObject>();
        Last = TakeSnapshot();
        const QByteArray StartBytes = FormFile::serialize(*Window->form());
        OnHistoryIndex();
        Seen.clear();
        Seen.emplace(0, StartBytes);
        Poll.start();
        while (!Exhausted())
            PlayStep();
        Finish();
        Poll.stop();
        RunContext.reset();
        Note(QStringLiteral("end of input"));
        Check();
        FUZZ_CHECK(!QApplication::activeModalWidget(), QStringLiteral("a dialog is still open at the end of the run"));
        FUZZ_CHECK(!OpenMenu(), QStringLiteral("a context menu is still open at the end of the run"));
        if (!OutsideHistory)
            CheckUndoAll(StartBytes);
        LoadAgain();
        // FUZZ_DESIGNER_TRACE=1 shows the actions of each run, to see what an input does.
        if (Trace)
            std::fprintf(stderr, "%s\n", qPrintable(Context()));
    }

    QString Context() const
    {
        const qsizetype From = std::max<qsizetype>(0, Log.size() - 80);
        return QStringLiteral("     actions (last %1 of %2):\n       ").arg(Log.size() - From).arg(Log.size())
               + Log.mid(From).join(QStringLiteral("\n       "));
    }

private:
    // ---- Window and state between runs ---------------------------------------------------

    // Every input ends with the package loaded, as the next one starts.
    void LoadAgain()
    {
        if (!Window->loader().isLoaded())
            Window->packagesView()->loadPackage();
        FUZZ_CHECK(Window->loader().isLoaded(), QStringLiteral("the package did not load again"));
    }

    void MakeWindow()
    {
        Window = new MainWindow(QStringLiteral(CV_PACKAGE_PATH));
        Window->show();
        Activate();
    }

    void Activate()
    {
        if (QApplication::activeWindow() != Window) {
            Window->activateWindow();
            QApplication::processEvents();
        }
    }

    // Every run starts from an empty form with the package loaded and nothing to save.
    void Prepare()
    {
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        Window->document()->setModified(false);
        Window->newForm();
        if (!Window->loader().isLoaded())
            Window->packagesView()->loadPackage();
        Window->inspector()->report(QString());
        Activate();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        FUZZ_CHECK(Window->form()->count() == 0, QStringLiteral("a new form holds controls"));
        FUZZ_CHECK(Window->loader().isLoaded(), QStringLiteral("the package did not load again"));
        Application->ClearExceptions();
    }

    static bool IsSubObject(const QMetaProperty& Prop)
    {
        return (Prop.metaType().flags() & QMetaType::PointerToQObject) != 0;
    }

    // The values of every property of every object of the form: the controls, their parts and
    // their collections' items.
    struct Entry {
        QPointer<QObject> Object;
        QString Label;
        std::vector<QByteArray> Names;
        std::vector<QVariant> Values;
    };
    using Snapshot = std::map<QObject*, Entry>;

    static void Collect(QObject* Object, const QString& Label, Snapshot& Into)
    {
        if (!Object || Into.count(Object))
            return;
        Entry& E = Into[Object];
        E.Object = Object;
        E.Label = Label;
        const QMetaObject* Meta = Object->metaObject();
        for (int I = QObject::staticMetaObject.propertyCount(); I < Meta->propertyCount(); ++I) {
            const QMetaProperty Prop = Meta->property(I);
            if (!Prop.isReadable())
                continue;
            if (IsSubObject(Prop)) {
                Collect(Prop.read(Object).value<QObject*>(), Label + QLatin1Char('.') + QString::fromLatin1(Prop.name()), Into);
                continue;
            }
            E.Names.push_back(Prop.name());
            E.Values.push_back(Prop.read(Object));
        }
        if (auto* Collection = qobject_cast<TPalmoCollection*>(Object))
            for (int I = 0; I < Collection->Count(); ++I)
                Collect(Collection->Item(I), Label + QStringLiteral("[%1]").arg(I), Into);
    }

    Snapshot TakeSnapshot() const
    {
        Snapshot Values;
        for (TPalmoControl* Control : Window->form()->controls())
            Collect(Control, Control->Name(), Values);
        return Values;
    }

    // ---- Playing the input -----------------------------------------------------------------

    bool Exhausted() const
    {
        return In.AtEnd() || Actions >= MaxActions || Clock.elapsed() > MaxRunMilliseconds;
    }

    void Note(const QString& Text)
    {
        const QWidget* Modal = QApplication::activeModalWidget();
        Log << QStringLiteral("%1%2%3%4")
                   .arg(QString(int(Playing.size() > 0 ? Playing.size() - 1 : 0) * 2, QLatin1Char(' ')), Text,
                        Modal ? QStringLiteral("   [modal: ") + Modal->windowTitle() + QLatin1Char(']') : QString(),
                        OpenMenu() ? QStringLiteral("   [menu]") : QString());
    }

    // The inspector's context menu that is open innermost, or null. A menu runs its own loop;
    // showing a dialog closes every open menu, so an open one is always the innermost loop.
    QMenu* OpenMenu() const
    {
        QMenu* Innermost = nullptr;
        for (QMenu* Menu : Window->inspector()->findChildren<QMenu*>(QStringLiteral("inspectorMenu"), Qt::FindDirectChildrenOnly))
            if (Menu->isVisible())
                Innermost = Menu;
        return Innermost;
    }

    // The widget whose event loop runs innermost: an open context menu, else the active modal
    // dialog, else null (the top level).
    QWidget* LoopWidget() const
    {
        if (QMenu* Menu = OpenMenu())
            return Menu;
        return QApplication::activeModalWidget();
    }

    // Decodes the next action and does it now or queues it.
    void PlayStep()
    {
        Playing.push_back(LoopWidget());
        ++Actions;
        const std::uint8_t Op = In.Byte();
        const bool Queued = Op & 0x80;
        const int Kind = KindOf(Op);
        std::function<void()> Body = Decode(Kind, Queued);
        if (Body && Queued && !PostsEvents(Kind)) {
            const int Number = Actions;
            Note(QStringLiteral("#%1 queue %2").arg(Number).arg(KindNames[Kind]));
            QMetaObject::invokeMethod(RunContext.get(), [this, Body, Number, Kind] {
                Playing.push_back(LoopWidget());
                Note(QStringLiteral("run queued #%1 %2").arg(Number).arg(KindNames[Kind]));
                Perform(Body);
                Playing.pop_back();
            }, Qt::QueuedConnection);
        } else if (Body) {
            Perform(Body);
        }
        const bool TopLevel = Playing.size() == 1;
        Playing.pop_back();
        if (TopLevel)
            AfterTopLevelStep();
    }

    void Perform(const std::function<void()>& Body)
    {
        ScanCombos();
        TrackMenu();
        try {
            Body();
        } catch (const std::exception& E) {
            FUZZ_CHECK(false, QStringLiteral("an exception left a designer call: ") + QString::fromUtf8(E.what()));
        } catch (...) {
            FUZZ_CHECK(false, QStringLiteral("an exception of unknown type left a designer call"));
        }
        ScanCombos();
        TrackMenu();
        AddMenuTargets();
        Check();
    }

    // Back at the top level every editor operation has returned: none may still count as running.
    void AfterTopLevelStep()
    {
        if (QApplication::activeModalWidget())
            return;
        FUZZ_CHECK(Window->inspector()->busyReason().isEmpty(),
                   QStringLiteral("no editor operation is on the stack, yet the inspector is busy"));
        CheckSeen(QStringLiteral("returning to"), true);
    }

    // ---- The history -----------------------------------------------------------------------

    // Follows the undo stack: a state seen at index I rests on the steps below I, and is
    // forgotten once one of them is replaced (a push after an undo). A step that replaces another
    // was made while the other still existed, so the two never share an address.
    void OnHistoryIndex()
    {
        const QUndoStack* Stack = Window->document()->undoStack();
        std::size_t Same = 0;
        while (Same < Slots.size() && int(Same) < Stack->count() && Slots[Same] == Stack->command(int(Same)))
            ++Same;
        Seen.erase(Seen.upper_bound(int(Same)), Seen.end());
        Slots.clear();
        for (int I = 0; I < Stack->count(); ++I)
            Slots.push_back(Stack->command(I));
    }

    // With every change recorded, the history's index with the same steps below it stands for
    // one form: compares the form with the bytes seen at this index before (and, when Remember,
    // takes them as seen when there are none yet).
    CV_NO_COVERAGE void CheckSeen(const QString& How, bool Remember)
    {
        if (OutsideHistory)
            return;
        const int Index = Window->document()->undoStack()->index();
        const QByteArray Bytes = FormFile::serialize(*Window->form());
        const auto Found = Seen.find(Index);
        // A typed text, a nudge or a resize right after another of its kind merges into the top
        // step, which then stands for a new form: at the top of a mergeable step the form seen
        // is taken again rather than compared.
        const QUndoStack* Stack = Window->document()->undoStack();
        if (Index > 0 && Index == Stack->count() && Stack->command(Index - 1)->id() != -1) {
            Seen[Index] = Bytes;
            return;
        }
        if (Found == Seen.end()) {
            if (Remember)
                Seen.emplace(Index, Bytes);
            return;
        }
        FUZZ_CHECK(Bytes == Found->second, QStringLiteral("%1 step %2 of the history does not give back the form seen there; "
                                                          "it was\n%3\nand is now\n%4")
                                               .arg(How).arg(Index).arg(QString::fromUtf8(Found->second.left(1500)),
                                                                        QString::fromUtf8(Bytes.left(1500))));
    }

    // Runs from every event loop, the modal dialogs' and the context menus' included: plays the
    // input in a dialog's or menu's loop, or closes the dialog or menu once the input is spent.
    void OnPoll()
    {
        QWidget* Modal = LoopWidget();
        if (!Modal)
            return;
        TrackMenu();
        // A step already running in this dialog's loop (it processes events): it goes on itself.
        if (!Playing.empty() && Playing.back() == Modal)
            return;
        if (!Exhausted() && int(Playing.size()) < MaxNesting) {
            // Posted, not played here: a timer does not fire again while its own slot runs, so
            // a dialog that the step opens would never be polled.
            if (!StepPosted) {
                StepPosted = true;
                QMetaObject::invokeMethod(RunContext.get(), [this] {
                    StepPosted = false;
                    QWidget* Now = LoopWidget();
                    if (Now && !Exhausted() && int(Playing.size()) < MaxNesting
                        && (Playing.empty() || Playing.back() != Now))
                        PlayStep();
                }, Qt::QueuedConnection);
            }
            return;
        }
        CloseModal(Modal);
    }

    void CloseModal(QWidget* Modal)
    {
        if (auto* Menu = qobject_cast<QMenu*>(Modal)) {
            Note(QStringLiteral("close the context menu (input spent)"));
            Menu->close();
            return;
        }
        int& Attempts = CloseAttempts[Modal];
        FUZZ_CHECK(++Attempts < 100, QStringLiteral("the dialog \"%1\" does not close").arg(Modal->windowTitle()));
        Note(QStringLiteral("close the dialog \"%1\" (input spent)").arg(Modal->windowTitle()));
        if (auto* Dialog = qobject_cast<QDialog*>(Modal))
            Dialog->reject();
        else
            Modal->close();
    }

    // Processes events until everything posted so far has been delivered (or a bound is reached).
    // Returns the sequence number current when it started: every "..." pressed before that has
    // had its deferred dialog run once this returns at the top level.
    std::uint64_t Drain()
    {
        const std::uint64_t Start = Sequence;
        auto Ran = std::make_shared<bool>(false);
        QMetaObject::invokeMethod(RunContext.get(), [Ran] { *Ran = true; }, Qt::QueuedConnection);
        for (int I = 0; I < 20 && !*Ran; ++I)
            QApplication::processEvents();
        return *Ran ? Start : 0;
    }

    // Nothing that was pending before Start can still write: forget it.
    void Quiesce(std::uint64_t Start)
    {
        if (Start == 0 || QApplication::activeModalWidget() || Playing.size() > 1)
            return;
        std::erase_if(DotsTargets, [Start](const Target& T) { return T.Sequence < Start; });
        std::erase_if(Combos, [](const auto& Entry) { return !Entry.first; });
    }

    void Finish()
    {
        for (int Round = 0; Round < 200; ++Round) {
            const std::uint64_t Start = Drain();
            if (QWidget* Modal = QApplication::activeModalWidget()) {
                CloseModal(Modal);
                continue;
            }
            if (Start != 0) {
                Quiesce(Start);
                break;
            }
        }
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::processEvents();
        ScanCombos();
    }

    // ---- The in-place editors and what they were opened for ----------------------------------

    ValueCombo* ShownEditor() const
    {
        for (ValueCombo* Combo : Window->inspector()->view()->viewport()->findChildren<ValueCombo*>())
            if (Combo->isVisible())
                return Combo;
        return nullptr;
    }

    Target TargetOfRow(int Row) const
    {
        const PropertyTarget T = Window->inspector()->targetOf(Row);
        return Target{T.objects, T.property, 0, {}};
    }

    bool Known(const ValueCombo* Combo) const
    {
        for (const auto& Entry : Combos)
            if (Entry.first == Combo)
                return true;
        return false;
    }

    // Records an in-place editor with what it was opened for, and hears its "..." button.
    void Record(ValueCombo* Combo, const Target& For)
    {
        if (!Combo || Known(Combo))
            return;
        Combos.push_back({QPointer<ValueCombo>(Combo), For});
        Note(QStringLiteral("  in-place editor for ") + Describe(For));
        if (QToolButton* Button = Combo->dialogButton())
            QObject::connect(Button, &QToolButton::clicked, RunContext.get(), [this, For] {
                Target Pressed = For;
                Pressed.Sequence = ++Sequence;
                Pressed.Via = QStringLiteral("\"...\"");
                DotsTargets.push_back(Pressed);
                Note(QStringLiteral("  \"...\" pressed for ") + Describe(Pressed));
            });
    }

    // An editor the table opened by itself (a click, a key) belongs to its current row.
    void ScanCombos()
    {
        PropertyInspector* Inspector = Window->inspector();
        const int Current = Inspector->rowOfEditor(Inspector->editorOf(Inspector->view()->currentIndex()).get());
        for (ValueCombo* Combo : Inspector->view()->viewport()->findChildren<ValueCombo*>()) {
            if (Known(Combo))
                continue;
            Target For;
            if (Current >= 0 && Current < Window->inspector()->rowCount()) {
                For = TargetOfRow(Current);
            } else if (const std::shared_ptr<TPropertyEditor> Editor = Combo->editor()) {
                for (int I = 0; I < Editor->PropCount(); ++I)
                    For.Objects.emplace_back(Editor->GetComponent(I));
                For.Property = Editor->Property().name();
            }
            Record(Combo, For);
        }
    }

    bool Allowed(QObject* Object, const QByteArray& Property) const
    {
        const auto Covers = [&](const Target& T) {
            if (T.Property != Property)
                return false;
            for (const QPointer<QObject>& O : T.Objects)
                if (O == Object)
                    return true;
            return false;
        };
        for (const Target& T : DotsTargets)
            if (Covers(T))
                return true;
        for (const auto& Entry : Combos)
            if (Covers(Entry.second))
                return true;
        return false;
    }

    // ---- Actions -------------------------------------------------------------------------------

    enum Kinds {
        Select, OpenEditor, TypeKeys, TypeText, Enter, Escape, ShowList, ChooseLine, Dots,
        DialogCell, DialogOk, DialogCancel, DialogEscape, DialogClose, Unload, Reload,
        DeleteControl, ProcessEvents, ClickCell, KeyInTable, AddControl,
        Undo, Redo, ContextMenu, MenuChoose, MenuEscape, DialogText, KindCount
    };
    static constexpr const char* KindNames[KindCount] = {
        "select", "open editor", "type keys", "type text", "Enter", "Escape", "show list", "choose line", "\"...\"",
        "dialog cell", "dialog OK", "dialog Cancel", "dialog Escape", "dialog close", "unload", "reload",
        "delete control", "process events", "click cell", "key in table", "add control",
        "undo", "redo", "context menu", "menu choice", "menu escape", "dialog text"};

    // The kind of an opcode. The kinds up to AddControl were once all there were, and opcodes
    // were read modulo their number; the stored reproducers were found that way. The kinds added
    // since take the second run of that many values (21 to 41, which none of those inputs uses),
    // so every stored input still plays the actions it was found with. A kind's own number is
    // always one of its opcodes.
    static constexpr int FirstLaterKind = Undo;
    static int KindOf(std::uint8_t Op)
    {
        const int Value = Op & 0x7F;
        if (Value >= FirstLaterKind && Value < 2 * FirstLaterKind)
            return FirstLaterKind + (Value - FirstLaterKind) % (KindCount - FirstLaterKind);
        return Value % FirstLaterKind;
    }

    // Enter, Escape and "..." queue real input events, posted now to the widget under them.
    static bool PostsEvents(int Kind) { return Kind == Enter || Kind == Escape || Kind == Dots; }

    std::function<void()> Decode(int Kind, bool Queued)
    {
        switch (Kind) {
        case Select: {
            const int Choice = In.Byte();
            return [this, Choice] { DoSelect(Choice); };
        }
        case OpenEditor: {
            const int Row = In.Byte();
            return [this, Row] { DoOpenEditor(Row); };
        }
        case TypeKeys: {
            const int Count = 1 + In.Byte() % 12;
            std::vector<Keystroke> Keys;
            for (int I = 0; I < Count; ++I)
                Keys.push_back(EditorKeys[In.Byte() % std::size(EditorKeys)]);
            return [this, Keys] { DoTypeKeys(Keys); };
        }
        case TypeText: {
            const QString Text = DecodeText();
            return [this, Text] { DoTypeText(Text); };
        }
        case Enter:
        case Escape:
            return [this, Kind, Queued] { DoKey(Kind == Enter ? Qt::Key_Return : Qt::Key_Escape, Queued); };
        case ShowList:
            return [this] { DoShowList(); };
        case ChooseLine: {
            const int Line = In.Byte() | In.Byte() << 8;
            return [this, Line] { DoChooseLine(Line); };
        }
        case Dots:
            return [this, Queued] { DoDots(Queued); };
        case DialogCell: {
            const int X = In.Byte(), Y = In.Byte();
            return [this, X, Y] { DoDialogCell(X, Y); };
        }
        case DialogOk:
        case DialogCancel:
        case DialogEscape:
        case DialogClose:
            return [this, Kind] { DoDialogButton(Kind); };
        case Unload: {
            const bool ByButton = In.Byte() & 1;
            return [this, ByButton] { DoUnload(ByButton); };
        }
        case Reload:
            return [this] { DoReload(); };
        case DeleteControl: {
            const int Choice = In.Byte();
            return [this, Choice] { DoDelete(Choice); };
        }
        case ProcessEvents: {
            const int Mode = In.Byte();
            return [this, Mode] { DoProcessEvents(Mode); };
        }
        case ClickCell: {
            const int Row = In.Byte(), Column = In.Byte();
            return [this, Row, Column] { DoClickCell(Row, Column); };
        }
        case KeyInTable: {
            const int Key = In.Byte();
            return [this, Key] { DoKeyInTable(Key); };
        }
        case AddControl: {
            const int Choice = In.Byte();
            return [this, Choice] { DoAddControl(Choice); };
        }
        case Undo:
        case Redo: {
            const int Mode = In.Byte();
            return [this, Kind, Mode] { DoHistory(Kind == Undo, Mode); };
        }
        case ContextMenu: {
            const int Row = In.Byte(), Column = In.Byte();
            return [this, Row, Column] { DoContextMenu(Row, Column); };
        }
        case MenuChoose: {
            const int Choice = In.Byte();
            return [this, Choice] { DoMenuChoose(Choice); };
        }
        case MenuEscape: {
            const int Mode = In.Byte();
            return [this, Mode] { DoMenuEscape(Mode); };
        }
        case DialogText: {
            const QString Text = DecodeText();
            return [this, Text] { DoDialogText(Text); };
        }
        default:
            return {};
        }
    }

    // A text worth typing: a web colour name, a toolkit colour name, a number text of either
    // kind, a truth value, or a few printable characters.
    QString DecodeText()
    {
        const int Mode = In.Byte();
        switch (Mode % 6) {
        case 0: {
            const QString Name = CVColors[In.Byte() % CVColorCount].Name;
            return Mode & 0x80 ? Name.toLower() : Name;
        }
        case 1: {
            const int Index = In.Byte();
            return ToolkitNames.isEmpty() ? QString() : ToolkitNames[Index % ToolkitNames.size()];
        }
        case 2:
            return QString::asprintf("$%08X", In.Word());
        case 3:
            return QString::number(int(In.Word()) >> (In.Byte() % 32));
        case 4: {
            static const char* const Truth[] = {"True", "False", "true", "0", "1", "-1", ""};
            return QString::fromLatin1(Truth[In.Byte() % std::size(Truth)]);
        }
        default: {
            const int Length = In.Byte() % 13;
            QString Text;
            for (int I = 0; I < Length; ++I)
                Text += QLatin1Char(char(0x20 + In.Byte() % 0x5F));
            return Text;
        }
        }
    }

    // A click on a line of the control list (with Ctrl: into or out of the selection), or the
    // window's own selection call; the last line stands for the empty background.
    void DoSelect(int Choice)
    {
        QListView* List = Window->controlList();
        const int Count = List->model()->rowCount();
        const int Index = (Choice & 0x3F) % (Count + 1);
        if (Index == Count) {
            Window->setSelection({});
            Note(QStringLiteral("select nothing"));
            return;
        }
        const QModelIndex Item = List->model()->index(Index, 0);
        const QString Name = Item.data().toString();
        if (Choice & 0x80) {
            const Qt::KeyboardModifiers Modifiers = Choice & 0x40 ? Qt::ControlModifier : Qt::NoModifier;
            List->scrollTo(Item);
            QTest::mouseClick(List->viewport(), Qt::LeftButton, Modifiers, List->visualRect(Item).center());
        } else {
            Window->selectControl(Name);
        }
        Note(QStringLiteral("select %1%2").arg(Name, Choice & 0x80 ? (Choice & 0x40 ? QStringLiteral(" (ctrl-click)") : QStringLiteral(" (click)")) : QString()));
    }

    void DoAddControl(int Choice)
    {
        const QStringList& Classes = PalmoControlClasses();
        if (Window->form()->count() >= 12) {
            Note(QStringLiteral("add control: the form is full enough"));
            return;
        }
        const QString Class = Classes[Choice % Classes.size()];
        TPalmoControl* Control = Window->addControl(Class);
        Note(QStringLiteral("add %1 -> %2").arg(Class, Control ? Control->Name() : QStringLiteral("(none)")));
    }

    void DoOpenEditor(int Choice)
    {
        QTreeView* View = Window->inspector()->view();
        const int Rows = Window->inspector()->rowCount();
        if (Rows == 0) {
            Note(QStringLiteral("open editor: no rows"));
            return;
        }
        const int Row = Choice % Rows;
        const Target For = TargetOfRow(Row);
        const QModelIndex Index = Window->inspector()->valueIndex(Row);
        View->setCurrentIndex(Index);
        if (!ShownEditor())
            View->edit(Index);
        ValueCombo* Combo = ShownEditor();
        Note(QStringLiteral("open editor on row %1 (%2): %3").arg(Row).arg(QString::fromLatin1(For.Property),
                                                                      Combo ? QStringLiteral("open") : QStringLiteral("none")));
        if (Combo)
            Record(Combo, For);
    }

    QLineEdit* ShownLine() const
    {
        ValueCombo* Combo = ShownEditor();
        return Combo ? Combo->combo()->lineEdit() : nullptr;
    }

    void DoTypeKeys(const std::vector<Keystroke>& Keys)
    {
        QLineEdit* Line = ShownLine();
        if (!Line) {
            Note(QStringLiteral("type keys: no editor"));
            return;
        }
        QString Typed;
        const QPointer<QLineEdit> Guard(Line);
        for (const Keystroke& K : Keys) {
            if (!Guard)
                break;
            if (K.Ascii)
                QTest::keyClick(Line, K.Ascii);
            else
                QTest::keyClick(Line, K.Key, K.Modifiers);
            Typed += KeyText(K);
        }
        Note(QStringLiteral("type %1 -> %2").arg(Shown(Typed), Guard ? Shown(Guard->text()) : QStringLiteral("(editor gone)")));
    }

    void DoTypeText(const QString& Text)
    {
        QLineEdit* Line = ShownLine();
        if (!Line) {
            Note(QStringLiteral("type text: no editor"));
            return;
        }
        const QPointer<QLineEdit> Guard(Line);
        QTest::keyClick(Line, Qt::Key_A, Qt::ControlModifier);
        for (const QChar C : Text) {
            if (!Guard)
                break;
            QTest::keyClick(Line, C.toLatin1());
        }
        Note(QStringLiteral("type text %1 -> %2").arg(Shown(Text), Guard ? Shown(Guard->text()) : QStringLiteral("(editor gone)")));
    }

    // The widget a key for the in-place editor goes to: its open list, else its text.
    QWidget* KeyTarget() const
    {
        ValueCombo* Combo = ShownEditor();
        if (!Combo)
            return nullptr;
        if (Combo->combo()->view()->isVisible())
            return Combo->combo()->view();
        if (QCompleter* Completer = Combo->combo()->completer(); Completer && Completer->popup()->isVisible())
            return Completer->popup();
        if (QLineEdit* Line = Combo->combo()->lineEdit())
            return Line;
        return Combo->combo();
    }

    void DoKey(Qt::Key Key, bool Queued)
    {
        QWidget* To = KeyTarget();
        const QString Name = Key == Qt::Key_Return ? QStringLiteral("Enter") : QStringLiteral("Escape");
        if (!To) {
            Note(Name + QStringLiteral(": no editor"));
            return;
        }
        if (Queued) {
            QCoreApplication::postEvent(To, new QKeyEvent(QEvent::KeyPress, Key, Qt::NoModifier));
            QCoreApplication::postEvent(To, new QKeyEvent(QEvent::KeyRelease, Key, Qt::NoModifier));
            Note(QStringLiteral("post %1 to %2").arg(Name, QString::fromLatin1(To->metaObject()->className())));
        } else {
            QTest::keyClick(To, Key);
            Note(QStringLiteral("%1 in %2").arg(Name, QString::fromLatin1(To->metaObject()->className())));
        }
    }

    void DoShowList()
    {
        ValueCombo* Combo = ShownEditor();
        if (!Combo) {
            Note(QStringLiteral("show list: no editor"));
            return;
        }
        Combo->combo()->showPopup();
        Note(QStringLiteral("show list of %1 lines: %2").arg(Combo->combo()->count()).arg(Combo->isListOpen() ? "open" : "closed"));
    }

    void DoChooseLine(int Choice)
    {
        ValueCombo* Combo = ShownEditor();
        if (!Combo) {
            Note(QStringLiteral("choose line: no editor"));
            return;
        }
        QAbstractItemView* View = nullptr;
        if (Combo->combo()->view()->isVisible())
            View = Combo->combo()->view();
        else if (QCompleter* Completer = Combo->combo()->completer(); Completer && Completer->popup()->isVisible())
            View = Completer->popup();
        if (!View || !View->model() || View->model()->rowCount() == 0) {
            Note(QStringLiteral("choose line: no list open"));
            return;
        }
        const QModelIndex Index = View->model()->index(Choice % View->model()->rowCount(), 0);
        View->setCurrentIndex(Index);
        Note(QStringLiteral("choose line %1 %2").arg(Index.row()).arg(Shown(Index.data().toString())));
        QTest::keyClick(View, Qt::Key_Return);
    }

    void DoDots(bool Queued)
    {
        ValueCombo* Combo = ShownEditor();
        QToolButton* Button = Combo ? Combo->dialogButton() : nullptr;
        if (!Button) {
            Note(QStringLiteral("\"...\": no button"));
            return;
        }
        if (Queued) {
            const QPointF At = QRectF(Button->rect()).center();
            for (const QEvent::Type Type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
                QCoreApplication::postEvent(Button, new QMouseEvent(Type, At, Button->mapToGlobal(At), Qt::LeftButton,
                                                                    Type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                                                                    Qt::NoModifier));
            Note(QStringLiteral("post a click on \"...\""));
        } else {
            Note(QStringLiteral("click \"...\""));
            QTest::mouseClick(Button, Qt::LeftButton);
        }
    }

    void DoDialogCell(int X, int Y)
    {
        QWidget* Modal = QApplication::activeModalWidget();
        if (!Modal) {
            Note(QStringLiteral("dialog cell: no dialog"));
            return;
        }
        if (auto* Question = qobject_cast<QInputDialog*>(Modal)) {
            // A line of the question's list, chosen from its drop-down.
            QComboBox* Combo = Question->findChild<QComboBox*>();
            if (!Combo || Combo->count() == 0) {
                Note(QStringLiteral("dialog cell: no list"));
                return;
            }
            Combo->showPopup();
            QAbstractItemView* View = Combo->view();
            const QModelIndex Index = View->model()->index((X | Y << 8) % Combo->count(), 0);
            View->setCurrentIndex(Index);
            Note(QStringLiteral("choose %1 in the list of \"%2\"").arg(Shown(Index.data().toString()), Modal->windowTitle()));
            QTest::keyClick(View, Qt::Key_Return);
            return;
        }
        if (auto* Picker = qobject_cast<QColorDialog*>(Modal)) {
            const QColor Color = QColor::fromRgb(X, Y, (X * 7 + Y * 13) & 0xFF);
            Picker->setCurrentColor(Color);
            Note(QStringLiteral("choose colour %1").arg(Color.name()));
            return;
        }
        QWidget* Grid = Modal->findChild<QWidget*>(QStringLiteral("WebColorsGrid"));
        if (!Grid) {
            Note(QStringLiteral("dialog cell: no grid"));
            return;
        }
        if (auto* Pages = Modal->findChild<QTabWidget*>(QStringLiteral("PageControl1")))
            for (int Page = 0; Page < Pages->count(); ++Page)
                if (Pages->widget(Page)->isAncestorOf(Grid))
                    Pages->setCurrentIndex(Page);
        const QPoint At(X * Grid->width() / 256, Y * Grid->height() / 256);
        QTest::mouseClick(Grid, Qt::LeftButton, {}, At);
        Note(QStringLiteral("click the web grid at (%1,%2)").arg(At.x()).arg(At.y()));
    }

    void DoDialogButton(int Kind)
    {
        QWidget* Modal = QApplication::activeModalWidget();
        if (!Modal) {
            Note(QStringLiteral("%1: no dialog").arg(KindNames[Kind]));
            return;
        }
        Note(QStringLiteral("%1 in \"%2\"").arg(KindNames[Kind], Modal->windowTitle()));
        if (Kind == DialogEscape) {
            QTest::keyClick(Modal, Qt::Key_Escape);
            return;
        }
        if (Kind == DialogClose) {
            Modal->close();
            return;
        }
        const bool Ok = Kind == DialogOk;
        QAbstractButton* Button = Modal->findChild<QPushButton*>(Ok ? QStringLiteral("Button1") : QStringLiteral("Button2"));
        if (!Button)
            if (auto* Box = Modal->findChild<QDialogButtonBox*>())
                Button = Box->button(Ok ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel);
        if (Button) {
            QTest::mouseClick(Button, Qt::LeftButton);
        } else if (auto* Dialog = qobject_cast<QDialog*>(Modal)) {
            Ok ? Dialog->accept() : Dialog->reject();
        }
    }

    void DoUnload(bool ByButton)
    {
        const bool Before = Window->loader().isLoaded();
        if (ByButton) {
            if (auto* Toggle = Window->packagesView()->findChild<QPushButton*>(QStringLiteral("packageToggle")))
                QTest::mouseClick(Toggle, Qt::LeftButton);
        } else {
            Window->packagesView()->unloadPackage();
        }
        Note(QStringLiteral("unload%1: %2 -> %3")
                 .arg(ByButton ? QStringLiteral(" (toggle button)") : QString())
                 .arg(Before ? "loaded" : "unloaded", Window->loader().isLoaded() ? "loaded" : "unloaded"));
        // An editor at work, or a menu or question holding one, keeps the package: unloading it
        // would pull the code from under them. Loading it meanwhile takes nothing away.
        if (Before && !Window->inspector()->busyReason().isEmpty())
            FUZZ_CHECK(Window->loader().isLoaded(), QStringLiteral("the package was unloaded while an editor was at work"));
    }

    void DoReload()
    {
        const bool Before = Window->loader().isLoaded();
        const bool Ok = Window->packagesView()->loadPackage();
        Note(QStringLiteral("load: %1 -> %2 (%3)").arg(Before ? "loaded" : "unloaded", Window->loader().isLoaded() ? "loaded" : "unloaded",
                                                     Ok ? "ok" : "refused"));
        FUZZ_CHECK(Window->loader().isLoaded(), QStringLiteral("loading the package failed"));
        FUZZ_CHECK(Ok == !Before, QStringLiteral("loading %1 the package was loaded already: %2").arg(Ok ? "succeeded though" : "failed though not").arg(Before));
    }

    // Deletes controls the ways the designer offers: the Edit menu's command and the preview's
    // Delete key remove the selection; the form's own removal takes any control, selected or not.
    void DoDelete(int Choice)
    {
        FormModel* Form = Window->form();
        switch (Choice % 3) {
        case 0:
            for (QAction* Action : Window->menuBar()->findChildren<QAction*>())
                if (Action->text() == QStringLiteral("&Delete Control")) {
                    Note(QStringLiteral("Edit > Delete Control (%1 selected)").arg(Window->selection().size()));
                    Action->trigger();
                    return;
                }
            Note(QStringLiteral("delete: no menu command"));
            return;
        case 1:
            Note(QStringLiteral("Delete key in the preview (%1 selected)").arg(Window->selection().size()));
            QTest::keyClick(Window->preview(), Qt::Key_Delete);
            return;
        default:
            if (Form->count() == 0) {
                Note(QStringLiteral("delete: no control"));
                return;
            }
            TPalmoControl* Control = Form->control((Choice / 3) % Form->count());
            Note(QStringLiteral("remove %1 from the form").arg(Control->Name()));
            // Past the document's history: undo can no longer bring the start back.
            OutsideHistory = true;
            Form->remove(Control);
        }
    }

    void DoProcessEvents(int Mode)
    {
        if (Playing.size() == 1 && !QApplication::activeModalWidget()) {
            const std::uint64_t Start = Drain();
            if (Mode & 1)
                QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            Note(QStringLiteral("process events (drained%1)").arg(Mode & 1 ? QStringLiteral(", deferred deletions") : QString()));
            ScanCombos();
            Check();
            Quiesce(Start);
        } else {
            QApplication::processEvents();
            Note(QStringLiteral("process events"));
        }
    }

    void DoClickCell(int Row, int Column)
    {
        QTreeView* View = Window->inspector()->view();
        const int Rows = Window->inspector()->rowCount();
        if (Rows == 0) {
            Note(QStringLiteral("click cell: no rows"));
            return;
        }
        const QModelIndex Value = Window->inspector()->valueIndex(Row % Rows);
        const QModelIndex Index = Column % 2 ? Value : Value.siblingAtColumn(0);
        View->scrollTo(Index);
        const QPoint At = View->visualRect(Index).center();
        Note(QStringLiteral("click cell (%1,%2)").arg(Row % Rows).arg(Index.column()));
        QTest::mouseClick(View->viewport(), Qt::LeftButton, {}, At);
    }

    void DoKeyInTable(int Choice)
    {
        const Qt::Key Key = TableKeys[Choice % std::size(TableKeys)];
        Note(QStringLiteral("key %1 in the inspector").arg(QKeySequence(Key).toString()));
        QTest::keyClick(Window->inspector()->view(), Key);
    }

    // Undo or Redo as a user asks for it: the Edit menu's command, or its key pressed where the
    // focus is (a text field takes the key for its own undo; with a dialog up the window's keys
    // do nothing, while the menu command is played regardless).
    void DoHistory(bool IsUndo, int Mode)
    {
        QUndoStack* Stack = Window->document()->undoStack();
        const int Before = Stack->index();
        if (Mode & 1) {
            const QPointer<QWidget> To = QApplication::focusWidget() ? QApplication::focusWidget() : Window;
            const Qt::Key Key = IsUndo || (Mode & 2) ? Qt::Key_Z : Qt::Key_Y;
            const Qt::KeyboardModifiers Modifiers = IsUndo || !(Mode & 2) ? Qt::ControlModifier : Qt::ControlModifier | Qt::ShiftModifier;
            Note(QStringLiteral("%1 in %2").arg(QKeySequence(Key | Modifiers).toString(), QString::fromLatin1(To->metaObject()->className())));
            // Press and release apart: the undo the press makes may take the focused editor away.
            QTest::keyPress(To, Key, Modifiers);
            if (To)
                QTest::keyRelease(To, Key, Modifiers);
        } else {
            QAction* Action = IsUndo ? UndoAction : RedoAction;
            Note(QStringLiteral("Edit > %1%2").arg(Action->text(), Action->isEnabled() ? QString() : QStringLiteral(" (disabled)")));
            Action->trigger();
        }
        // Undo and redo write whatever their steps wrote.
        FreeWrites = true;
        Note(QStringLiteral("  history at %1 of %2 (was %3)").arg(Stack->index()).arg(Stack->count()).arg(Before));
    }

    // A right-click on a property row's name or value: the press (which makes the row current),
    // the context menu request, then the release. The menu runs its own loop inside the request,
    // where the following steps are played (see OnPoll); when it returns, so has whatever was
    // chosen in it, a dialog it opened included.
    void DoContextMenu(int Row, int Column)
    {
        PropertyInspector* Inspector = Window->inspector();
        QTreeView* View = Inspector->view();
        const int Rows = Inspector->rowCount();
        if (Rows == 0) {
            Note(QStringLiteral("context menu: no rows"));
            return;
        }
        const QModelIndex Value = Inspector->valueIndex(Row % Rows);
        const QModelIndex Index = Column % 2 ? Value : Value.siblingAtColumn(0);
        View->scrollTo(Index);
        const QPoint At = View->visualRect(Index).center();
        const auto Session = std::make_shared<MenuSession>();
        Session->Path = Inspector->model()->leaves()[Row % Rows]->path;
        Note(QStringLiteral("right-click row %1 (%2), column %3").arg(Row % Rows).arg(Session->Path).arg(Index.column()));
        QWidget* Viewport = View->viewport();
        QTest::mousePress(Viewport, Qt::RightButton, {}, At);
        Menus.push_back(Session);
        QContextMenuEvent Request(QContextMenuEvent::Mouse, At, Viewport->mapToGlobal(At));
        QCoreApplication::sendEvent(Viewport, &Request);
        std::erase(Menus, Session);
        QTest::mouseRelease(Viewport, Qt::RightButton, {}, At);
        // Replace Colour writes once its question is answered, before the menu's call returns:
        // the check after this step sees its writes.
        if (Session->Replaces)
            ReplaceWrites = true;
        Note(QStringLiteral("context menu of %1 returned: %2")
                 .arg(Session->Path, Session->Chosen.isEmpty() ? QStringLiteral("nothing chosen") : Session->Chosen));
    }

    // Chooses a line of the open context menu: a click on it, or its underlined letter.
    void DoMenuChoose(int Choice)
    {
        QMenu* Menu = OpenMenu();
        if (!Menu) {
            Note(QStringLiteral("menu choice: no menu"));
            return;
        }
        TrackMenu();
        QList<QAction*> Lines;
        for (QAction* Action : Menu->actions())
            if (!Action->isSeparator() && Action->isVisible())
                Lines << Action;
        if (Lines.isEmpty()) {
            Note(QStringLiteral("menu choice: the menu is empty"));
            return;
        }
        QAction* Action = Lines[(Choice >> 1) % Lines.size()];
        const QString Text = Action->text();
        const QString State = Action->isEnabled() ? QString() : QStringLiteral(" (disabled)");
        if (Choice & 1) {
            const qsizetype Amp = Text.indexOf(QLatin1Char('&'));
            const char Letter = Amp >= 0 && Amp + 1 < Text.size() ? Text[Amp + 1].toLower().toLatin1() : 0;
            if (!Letter) {
                Note(QStringLiteral("menu choice: %1 has no letter").arg(Shown(Text)));
                return;
            }
            Note(QStringLiteral("press %1 for %2 in the menu%3").arg(QLatin1Char(Letter)).arg(Shown(Text), State));
            QTest::keyClick(Menu, Letter);
        } else {
            Note(QStringLiteral("click %1 in the menu%2").arg(Shown(Text), State));
            QTest::mouseClick(Menu, Qt::LeftButton, {}, Menu->actionGeometry(Action).center());
        }
    }

    // Leaves the open context menu without a choice: Escape, or a click outside it.
    void DoMenuEscape(int Mode)
    {
        QMenu* Menu = OpenMenu();
        if (!Menu) {
            Note(QStringLiteral("menu escape: no menu"));
            return;
        }
        if (Mode & 1) {
            Note(QStringLiteral("click outside the menu"));
            QTest::mouseClick(Menu, Qt::LeftButton, {}, QPoint(-4, -4));
        } else {
            Note(QStringLiteral("Escape in the menu"));
            QTest::keyClick(Menu, Qt::Key_Escape);
        }
    }

    // Types a text into the active dialog's text field (the Replace Colour question's, a colour
    // dialog's), in place of what it holds.
    void DoDialogText(const QString& Text)
    {
        QWidget* Modal = QApplication::activeModalWidget();
        QLineEdit* Line = nullptr;
        if (Modal) {
            if (auto* Focused = qobject_cast<QLineEdit*>(QApplication::focusWidget()); Focused && Modal->isAncestorOf(Focused))
                Line = Focused;
            for (QLineEdit* Field : Modal->findChildren<QLineEdit*>())
                if (!Line && Field->isVisible() && Field->isEnabled() && !Field->isReadOnly())
                    Line = Field;
        }
        if (!Line) {
            Note(QStringLiteral("dialog text: no text field"));
            return;
        }
        const QString Title = Modal->windowTitle();
        const QPointer<QLineEdit> Guard(Line);
        QTest::keyClick(Line, Qt::Key_A, Qt::ControlModifier);
        for (const QChar C : Text) {
            if (!Guard)
                break;
            QTest::keyClick(Line, C.toLatin1());
        }
        Note(QStringLiteral("type %1 in \"%2\" -> %3").arg(Shown(Text), Title, Guard ? Shown(Guard->text()) : QStringLiteral("(field gone)")));
    }

    // ---- The context menus and what their choices may write ---------------------------------

    // A context menu request made by a step, until it returns: the row it was made on, by path
    // (at its return the menu finds the row of that path again, perhaps of other objects by then),
    // the menu once shown, and what was chosen in it.
    struct MenuSession {
        QString Path;
        bool Tied = false;
        QPointer<QMenu> Menu;
        QString Chosen;
        bool WritesRow = false;  // "Edit..." or "Reset to Default": they write the row of Path
        bool Replaces = false;   // "Replace Colour...": it writes every holder of the row's colour
    };

    // Ties a menu that has just been shown to the innermost request without one (only a request
    // shows a menu, and no step runs between the two), and hears what is chosen in it.
    void TrackMenu()
    {
        QMenu* Menu = OpenMenu();
        if (!Menu || std::any_of(Menus.begin(), Menus.end(), [Menu](const auto& S) { return S->Menu == Menu; }))
            return;
        const auto Untied = std::find_if(Menus.rbegin(), Menus.rend(), [](const auto& S) { return !S->Tied; });
        if (Untied == Menus.rend())
            return;
        const std::shared_ptr<MenuSession>& Session = *Untied;
        Session->Tied = true;
        Session->Menu = Menu;
        QObject::connect(Menu, &QMenu::triggered, RunContext.get(), [this, Weak = std::weak_ptr<MenuSession>(Session)](QAction* Action) {
            const std::shared_ptr<MenuSession> S = Weak.lock();
            if (!S)
                return;
            const QString Name = Action->objectName();
            S->Chosen = Name.isEmpty() ? Action->text() : Name;
            S->Replaces = Name == QStringLiteral("replaceColourAction");
            S->WritesRow = !S->Replaces;
            Note(QStringLiteral("  chosen in the menu of %1: %2").arg(S->Path, S->Chosen));
            AddMenuTargets();
        });
    }

    // The row an "Edit..." or "Reset to Default" writes is the one of the menu's path when the
    // menu returns. From the choice until the request returns, the row of that path as shown
    // after each step may be written (the selection may change in between).
    void AddMenuTargets()
    {
        for (const std::shared_ptr<MenuSession>& Session : Menus) {
            if (!Session->WritesRow)
                continue;
            const int Row = Window->inspector()->rowOf(Session->Path);
            if (Row < 0)
                continue;
            Target For = TargetOfRow(Row);
            const bool Known = std::any_of(DotsTargets.begin(), DotsTargets.end(), [&](const Target& T) {
                return T.Property == For.Property && T.Objects == For.Objects;
            });
            if (Known)
                continue;
            For.Sequence = ++Sequence;
            For.Via = Session->Chosen;
            DotsTargets.push_back(For);
        }
    }

    // ---- Invariants --------------------------------------------------------------------------

    CV_NO_COVERAGE void Check()
    {
        FUZZ_CHECK(Application->ExceptionCount() == 0,
                   QStringLiteral("an exception reached the event loop: ") + Application->LastExceptionMessage());
        CheckRows();
        CheckRegistry();
        CheckEditors();
        CheckWrites();
    }

    // Unloaded, the package's code is gone (here it stays mapped only because of the pin), and
    // with it every editor whose class it defines: none may still be alive, held by whatever
    // kept it (a context menu or a question opened for its row, say). The editors are those the
    // inspector's rows have shown, by the object file their virtual table lies in.
    CV_NO_COVERAGE void CheckEditors()
    {
        std::erase_if(Editors, [](const auto& Entry) { return Entry.second.expired(); });
        PropertyInspector* Inspector = Window->inspector();
        for (int Row = 0; Row < Inspector->rowCount(); ++Row)
            if (const std::shared_ptr<TPropertyEditor> Editor = Inspector->sharedEditorAt(Row))
                Editors.try_emplace(Editor.get(), Editor);
        if (Window->loader().isLoaded())
            return;
        for (const auto& [Raw, Weak] : Editors) {
            const std::shared_ptr<TPropertyEditor> Editor = Weak.lock();
            if (!Editor)
                continue;
            Dl_info Where{};
            const bool OfPackage = dladdr(*reinterpret_cast<void* const*>(Editor.get()), &Where) != 0 && Where.dli_fbase == PackageBase;
            const TPropertyEditor& Kept = *Editor;
            FUZZ_CHECK(!OfPackage, QStringLiteral("the package is unloaded, but an editor it made (%1 for %2) is still alive")
                                       .arg(QString::fromLatin1(typeid(Kept).name()), QString::fromLatin1(Kept.Property().name())));
        }
    }

    // The rows the inspector must show for the objects, depth first: each object's own values,
    // then each part, then each collection's items (only as many as every object has).
    void ExpectRows(const std::vector<QObject*>& Owners, const QString& Prefix, QStringList& Paths, QStringList& Values)
    {
        const QMetaObject* Meta = Owners.front()->metaObject();
        const int First = QObject::staticMetaObject.propertyCount();
        for (int I = First; I < Meta->propertyCount(); ++I) {
            const QMetaProperty Prop = Meta->property(I);
            if (!Prop.isReadable() || IsSubObject(Prop))
                continue;
            // Objects of any classes share every value property they all have by name and type.
            const bool Shared = std::all_of(Owners.begin(), Owners.end(), [&](const QObject* Owner) {
                const int Index = Owner->metaObject()->indexOfProperty(Prop.name());
                const QMetaProperty Own = Index >= 0 ? Owner->metaObject()->property(Index) : QMetaProperty();
                return Index >= 0 && Own.isReadable() && !IsSubObject(Own) && Own.metaType() == Prop.metaType();
            });
            if (!Shared)
                continue;
            std::shared_ptr<TPropertyEditor> Fresh;
            if (Prop.isWritable())
                Fresh = SharedPropertyEditor::create(&Quiet, Owners, Prop.name());
            else if (qstrcmp(Prop.name(), "Name") == 0 && Owners.size() == 1)
                Fresh = std::make_shared<TComponentNameProperty>(&Quiet, Owners, Prop);
            if (!Fresh)
                continue;
            Paths << Prefix + QString::fromLatin1(Prop.name());
            Values << visualValueOf(Fresh.get());
        }
        for (int I = First; I < Meta->propertyCount(); ++I) {
            const QMetaProperty Prop = Meta->property(I);
            if (!Prop.isReadable() || !IsSubObject(Prop))
                continue;
            std::vector<QObject*> Parts;
            for (QObject* Owner : Owners) {
                // The part of the same name on each owner, whichever class declares it there.
                const int Index = Owner->metaObject()->indexOfProperty(Prop.name());
                if (Index < 0 || !IsSubObject(Owner->metaObject()->property(Index)))
                    break;
                if (QObject* Part = Owner->metaObject()->property(Index).read(Owner).value<QObject*>())
                    Parts.push_back(Part);
            }
            if (Parts.size() != Owners.size())
                continue;
            const QString Name = Prefix + QString::fromLatin1(Prop.name());
            ExpectRows(Parts, Name + QLatin1Char('.'), Paths, Values);
            int Common = -1;
            for (QObject* Part : Parts) {
                auto* Collection = qobject_cast<TPalmoCollection*>(Part);
                Common = !Collection ? -2 : Common == -1 ? Collection->Count() : Common < 0 ? Common : std::min(Common, Collection->Count());
            }
            for (int Item = 0; Item < Common; ++Item) {
                std::vector<QObject*> Items;
                for (QObject* Part : Parts)
                    Items.push_back(qobject_cast<TPalmoCollection*>(Part)->Item(Item));
                ExpectRows(Items, Name + QStringLiteral("[%1].").arg(Item), Paths, Values);
            }
        }
    }

    CV_NO_COVERAGE void CheckRows()
    {
        PropertyInspector* Inspector = Window->inspector();
        std::vector<QObject*> Selected;
        for (TPalmoControl* Control : Window->selection()) {
            FUZZ_CHECK(Window->form()->indexOf(Control) >= 0, QStringLiteral("a selected control is not on the form"));
            Selected.push_back(Control);
        }
        FUZZ_CHECK(Inspector->objects() == Selected,
                   QStringLiteral("the inspector shows %1 object(s), the selection is %2").arg(Inspector->objects().size()).arg(Selected.size()));
        if (Inspector->rebuildPending())
            return;  // the rows follow once the view's commit has returned to the event loop
        QStringList Paths, Values;
        if (!Selected.empty())
            ExpectRows(Selected, QString(), Paths, Values);
        const std::vector<PropertyModel::Node*>& Leaves = Inspector->model()->leaves();
        FUZZ_CHECK(Inspector->rowCount() == Paths.size() && int(Leaves.size()) == Paths.size(),
                   QStringLiteral("the inspector has %1 rows, the selection has %2 properties: %3")
                       .arg(Inspector->rowCount()).arg(Paths.size()).arg(Paths.join(QLatin1Char(' '))));
        for (int Row = 0; Row < Paths.size(); ++Row) {
            FUZZ_CHECK(Leaves[Row]->path == Paths[Row],
                       QStringLiteral("row %1 is %2, expected %3").arg(Row).arg(Shown(Leaves[Row]->path), Shown(Paths[Row])));
            const QString Text = Inspector->model()->data(Inspector->valueIndex(Row)).toString();
            FUZZ_CHECK(Text == Values[Row], QStringLiteral("row %1 (%2) shows %3, the property reads %4")
                                                .arg(Row).arg(Paths[Row], Shown(Text), Shown(Values[Row])));
        }
    }

    CV_NO_COVERAGE void CheckRegistry()
    {
        const int Count = RegisteredEditorCount();
        if (Window->loader().isLoaded())
            FUZZ_CHECK(Count == Baseline + Registrations,
                       QStringLiteral("loaded: %1 registrations, expected %2").arg(Count).arg(Baseline + Registrations));
        else
            FUZZ_CHECK(Count == Baseline, QStringLiteral("unloaded: %1 registrations remain, the baseline is %2").arg(Count).arg(Baseline));
    }

    CV_NO_COVERAGE void CheckWrites()
    {
        Snapshot Now = TakeSnapshot();
        // Replace Colour turns one value into another wherever it is held: every change it made
        // is from the same value to the same value.
        std::optional<std::pair<QVariant, QVariant>> Replaced;
        QString ReplacedFirst;
        for (const auto& [Object, Was] : Last) {
            const auto Found = Now.find(Object);
            if (!Was.Object || Found == Now.end() || Found->second.Object != Was.Object || Found->second.Names != Was.Names)
                continue;
            const Entry& Is = Found->second;
            for (std::size_t P = 0; P < Is.Values.size(); ++P) {
                if (FreeWrites || Is.Values[P] == Was.Values[P] || Allowed(Object, Is.Names[P]))
                    continue;
                const QString Where = Is.Label + QLatin1Char('.') + QString::fromLatin1(Is.Names[P]);
                if (ReplaceWrites && !Replaced) {
                    Replaced.emplace(Was.Values[P], Is.Values[P]);
                    ReplacedFirst = Where;
                }
                if (ReplaceWrites) {
                    FUZZ_CHECK(Was.Values[P] == Replaced->first && Is.Values[P] == Replaced->second,
                               QStringLiteral("Replace Colour changed %1 from %2 to %3, but %4 from %5 to %6")
                                   .arg(ReplacedFirst, Shown(Replaced->first.toString()), Shown(Replaced->second.toString()), Where,
                                        Shown(Was.Values[P].toString()), Shown(Is.Values[P].toString())));
                    continue;
                }
                QStringList Open;
                for (const Target& T : DotsTargets)
                    Open << T.Via + QLatin1Char(' ') + Describe(T);
                for (const auto& Combo : Combos)
                    Open << QStringLiteral("editor ") + Describe(Combo.second);
                FUZZ_CHECK(false, QStringLiteral("%1 changed from %2 to %3, but no editor was opened for it; open: %4")
                                      .arg(Where, Shown(Was.Values[P].toString()), Shown(Is.Values[P].toString()),
                                           Open.join(QStringLiteral("; "))));
            }
        }
        Last = std::move(Now);
        FreeWrites = false;
        ReplaceWrites = false;
    }

    // With every change of the input recorded, undoing them all gives back the form the input
    // started with, byte for byte, and the document no longer counts as modified.
    CV_NO_COVERAGE void CheckUndoAll(const QByteArray& StartBytes)
    {
        CheckSeen(QStringLiteral("ending at"), true);
        QUndoStack* Stack = Window->document()->undoStack();
        const int Steps = Stack->index();
        // Bounded: an undo that made a change of its own would be recorded as a new step.
        Note(QStringLiteral("undo all %1 steps").arg(Steps));
        for (int Round = 0; Stack->canUndo() && Round <= Steps; ++Round) {
            Stack->undo();
            CheckSeen(QStringLiteral("undoing to"), false);
        }
        FUZZ_CHECK(!Stack->canUndo(), QStringLiteral("after undoing %1 steps, %2 are left to undo").arg(Steps).arg(Stack->index()));
        FreeWrites = true;
        Check();
        const QByteArray Bytes = FormFile::serialize(*Window->form());
        FUZZ_CHECK(Bytes == StartBytes, QStringLiteral("undoing all %1 steps does not give back the form the input started with; "
                                                       "it started as\n%2\nand is now\n%3")
                                            .arg(Steps).arg(QString::fromUtf8(StartBytes.left(1500)), QString::fromUtf8(Bytes.left(1500))));
        FUZZ_CHECK(!Window->document()->isModified(), QStringLiteral("undoing all %1 steps leaves the document modified").arg(Steps));
    }

    // ---- State ---------------------------------------------------------------------------------

    MainWindow* Window = nullptr;
    const bool Trace = qEnvironmentVariableIsSet("FUZZ_DESIGNER_TRACE");
    QString PackageFile;
    void* PackageBase = nullptr;  // where the package is mapped
    // The editors the inspector's rows have shown, while anything keeps them alive.
    std::map<const TPropertyEditor*, std::weak_ptr<TPropertyEditor>> Editors;
    int Baseline = 0;
    int Registrations = 0;
    const QStringList ToolkitNames = [] {
        QStringList Names;
        GetColorValues([&Names](const String& S) { Names << S; });
        return Names;
    }();
    ReadOnlyDesigner Quiet;

    Reader In;
    int Actions = 0;
    QStringList Log;
    QElapsedTimer Clock;
    QTimer Poll;
    std::unique_ptr<QObject> RunContext;
    // The dialog that was active when each running step began (null: none), innermost last.
    std::vector<QWidget*> Playing;
    bool StepPosted = false;  // a step is posted to run in the active dialog's loop
    std::map<QWidget*, int> CloseAttempts;
    std::uint64_t Sequence = 0;
    std::vector<Target> DotsTargets;
    std::vector<std::pair<QPointer<ValueCombo>, Target>> Combos;
    std::vector<std::shared_ptr<MenuSession>> Menus;  // the context menu requests running, innermost last
    QAction* UndoAction = nullptr;
    QAction* RedoAction = nullptr;
    Snapshot Last;
    // The next check of writes takes any change (an undo or redo ran), or the changes of one
    // value to another (Replace Colour ran).
    bool FreeWrites = false;
    bool ReplaceWrites = false;
    // The input changed the form past its history (a control object deleted): undoing it all
    // cannot give the start back.
    bool OutsideHistory = false;
    // The form's bytes at each index of the history, as seen at the top level, and the steps of
    // the history as last seen.
    std::map<int, QByteArray> Seen;
    std::vector<const QUndoCommand*> Slots;
};

Driver* TheDriver = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    fuzz::StartApplication(argc, argv, "fuzz_designer");
    Application->OnException = [](const String&) {};
    TheDriver = new Driver;
    fuzz::FailureContext = [] { return TheDriver->Context(); };
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
    TheDriver->Run(Data, Size);
    return 0;
}
