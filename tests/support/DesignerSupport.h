#pragma once
// What the designer's tests share: a form with one control of each class, the controls by name,
// and the inspector's in-place editor opened the way a click opens it.

#include "core/FormModel.h"
#include "views/MainWindow.h"
#include "views/PropertyInspector.h"
#include "views/PropertyModel.h"
#include "views/ValueCombo.h"

#include "host/palmo/PalmoControls.h"
#include "host/palmo/PalmoFactory.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <QTreeView>

#include <functional>
#include <vector>

// Adds one control of each class from the palette: PalmoButton1, PalmoOnOffButton1, …
// The controls' names, in their order.
inline QStringList NamesOf(const std::vector<TPalmoControl*>& Controls)
{
    QStringList Names;
    for (const TPalmoControl* Control : Controls)
        Names << Control->Name();
    return Names;
}

inline void AddOneOfEach(MainWindow& Window)
{
    for (const QString& ClassName : PalmoControlClasses())
        Window.addControl(ClassName);
}

template <class T>
T* ControlNamed(const MainWindow& Window, const char* Name)
{
    return qobject_cast<T*>(Window.form()->find(QString::fromLatin1(Name)));
}

// The text the inspector shows in a row's value cell.
inline QString RowText(const PropertyInspector& Inspector, int Row)
{
    return Inspector.valueIndex(Row).data().toString();
}

// The in-place editor showing in the inspector; a closed one waits hidden for its deletion.
inline ValueCombo* ShownEditor(const PropertyInspector& Inspector)
{
    for (ValueCombo* Editor : Inspector.view()->viewport()->findChildren<ValueCombo*>())
        if (Editor->isVisible())
            return Editor;
    return nullptr;
}

// Opens the in-place editor of a row the way a click does (the view opens it when the value cell
// becomes current) and returns it.
inline ValueCombo* OpenInPlaceEditor(PropertyInspector& Inspector, int Row)
{
    const QModelIndex Index = Inspector.valueIndex(Row);
    Inspector.view()->setCurrentIndex(Index);
    QApplication::processEvents();
    if (!ShownEditor(Inspector))
        Inspector.view()->edit(Index);
    QApplication::processEvents();
    return ShownEditor(Inspector);
}

// The first of the property editor's own lines in a value list (the form's colours come before).
inline int FirstEditorLine(const QComboBox* Combo)
{
    for (int Line = 0; Line < Combo->count(); ++Line)
        if (Combo->itemData(Line, ValueList::KindRole).toInt() == ValueList::EditorLine)
            return Line;
    return Combo->count();
}

// Plays Steps inside the modal loop of the next dialog that comes up (a message box, a file
// dialog, the colour picker), so that a test can answer it as a user would. Given several, it
// answers the next dialogs in turn, each once.
class ModalDriver {
public:
    explicit ModalDriver(std::function<void(QDialog&)> Steps) : ModalDriver(std::vector{std::move(Steps)}) {}
    explicit ModalDriver(std::vector<std::function<void(QDialog&)>> Steps) : FSteps(std::move(Steps))
    {
        FPoll.setInterval(5);
        QObject::connect(&FPoll, &QTimer::timeout, [this] {
            auto* Dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!Dialog || Dialog == FAnswered)
                return;
            FAnswered = Dialog;
            if (static_cast<std::size_t>(++Shown) == FSteps.size())
                FPoll.stop();
            FSteps[static_cast<std::size_t>(Shown - 1)](*Dialog);
        });
        FPoll.start();
    }
    int Shown = 0;

private:
    std::vector<std::function<void(QDialog&)>> FSteps;
    QPointer<QDialog> FAnswered;
    QTimer FPoll;
};
