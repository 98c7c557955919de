#pragma once
// The property inspector: a tree of the selected objects' properties (parts such as Appearance
// and collection items such as Slots[0] as rows with children), each property edited by the
// editor the registry gives for it. Value cells are drawn through the editor's drawing hooks;
// typed text goes to SetValue; the "..." button calls Edit. A refused text is reported with what
// the row accepts, and the property keeps its value. A value that differs from its class's
// default is shown in bold, with a button in its name cell that resets it.
//
// Keys: Up and Down move between rows; typing starts a fresh text; F2 edits the text shown;
// Alt+Down or F4 opens the value list; Ctrl+Enter (or a double click) opens the row's dialog.
// Ctrl+F goes to the filter box above the rows, where typing narrows the rows to the properties
// whose path contains the text (whatever its case), with the rows they belong to; Escape there
// clears it and goes back to the rows.
//
// "Rows" below are the property rows (the model's leaves) in the order they are shown, counted
// from 0; rowOf takes a property's path ("Appearance.Color"). The filter only hides rows: the row
// API counts every property row, hidden or not (isRowShown tells which are shown).

#include "views/InspectorRows.h"

#include <QByteArray>
#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class FormEditing;
class InspectorFilter;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QTreeView;
class PropertyModel;
class TPalmoControl;
class ValueCombo;

class PropertyInspector : public QWidget, public IDesigner, public InspectorRows {
    Q_OBJECT
public:
    // Edits properties of controls of form, which records every change and renames controls.
    explicit PropertyInspector(FormEditing& form, QWidget* parent = nullptr);
    ~PropertyInspector() override;

    // Shows the properties the objects share (by path and type, whichever class declares them);
    // an empty list clears the view. Clears the message.
    void setObjects(const std::vector<QObject*>& objects);
    // The same, except that when the rows would be the rows there are (the same objects, no
    // collection grown or shrunk) they stay, with the in-place editor, and only their values are
    // read again: after an undo of a change to 10,000 controls.
    void showObjects(const std::vector<QObject*>& objects);
    const std::vector<QObject*>& objects() const { return m_objects; }
    // Drops every row's editor and closes the in-place editor with its lists (their code may live
    // in a package about to be unloaded). An editor whose own operation is still running is kept
    // by that operation until it returns; see busyReason.
    void clear();

    int rowCount() const;
    int rowOf(const QString& propertyName) const override;
    TPropertyEditor* editorAt(int row) const;
    // The row's editor, shared: whoever holds it keeps it alive across a rebuild.
    std::shared_ptr<TPropertyEditor> sharedEditorAt(int row) const override;
    QString nameAt(int row) const;
    // The row of an editor, or -1.
    int rowOfEditor(const TPropertyEditor* editor) const override;
    QString valueTextAt(int row) const;
    PropertyTarget targetOf(int row) const override;

    // The path of typed text: the editor's SetValue. Returns false, reports the error and leaves
    // the property as it was when the editor refuses the text.
    bool commitText(int row, const QString& text);
    bool commitText(const std::shared_ptr<TPropertyEditor>& editor, const QString& text);
    // The same for a text the view commits from an in-place editor. The view goes on using its
    // indexes after the commit (a click on another row commits, then moves the current row), so
    // a rebuild the commit causes (a rename, a new item count) waits for the event loop. A text
    // the user confirmed in place (Enter) is refused beside the editor, which shows the message:
    // it sets lastError but not the error line below the rows.
    bool commitFromView(const std::shared_ptr<TPropertyEditor>& editor, const QString& text,
                        bool confirmedInPlace = false) override;
    // A rebuild waits for the event loop: the rows show the old objects' properties until then.
    bool rebuildPending() const { return m_rebuildPending; }
    // The "..." button: the editor's Edit. Returns false and reports the error when Edit raises.
    bool edit(int row) override;
    // The row's value differs, on one of the objects at least, from its class's default.
    bool isChanged(int row) const override;
    // Writes the class's default to every object of the row, as one recorded change. False when
    // the row has no default or holds it already.
    bool resetToDefault(int row) override;
    // Opens the row's in-place editor, as a click on its value cell does, and returns it.
    ValueCombo* openInPlaceEditor(int row) override;
    // The row shown at a view index, or -1 for a part or collection row.
    int rowOfIndex(const QModelIndex& index) const override;

    // Edit for a target taken earlier: the row's editor when the inspector still shows that
    // property of those objects, otherwise an editor made for them alone. False, with a message,
    // when one of the objects has gone; false, silently, while another editor is at work (its
    // dialog is open), so that a repeated request never stacks a second dialog.
    bool edit(const PropertyTarget& target) override;

    // Why the editors cannot be dropped now (an editor's SetValue or Edit is running, its modal
    // dialog perhaps open, or a menu or question about a row is open), or the empty text when
    // they can.
    QString busyReason() const;

    QString lastError() const override { return m_lastError; }
    QTreeView* view() const override { return m_view; }
    QLineEdit* filterBox() const { return m_filter; }
    // The row is shown: the filter keeps it (every row is when the filter is empty).
    bool isRowShown(int row) const;
    PropertyModel* model() const { return m_model; }
    // The model index of a row's value cell, for opening its in-place editor.
    QModelIndex valueIndex(int row) const;
    // The editor of the property at a model index; null for a part or collection row.
    std::shared_ptr<TPropertyEditor> editorOf(const QModelIndex& index) const override;
    // For a colour row whose editor draws its value list: the colours of that type the form
    // already uses, most used first, at most 10. Otherwise none.
    std::vector<UsedColor> usedColors(const TPropertyEditor* editor) const override;
    // The row holds a colour and shows one value, which may be replaced all over the form.
    bool canReplaceColor(int row) const override;
    // Writes the colour text (as the row's editor reads it: "Navy", "$00FF8800", "#RRGGBB") to
    // every property of the form of the row's colour type that holds the row's value, as one
    // recorded change. False, with a message, when the text is not a colour; false when nothing
    // holds the value or it is the value already.
    bool replaceColor(int row, const QString& text) override;
    // Renames a control through the form, which checks the name.
    void Rename(QObject* component, const String& newName) override;
    // Shows a message on the error line (the empty text hides it); it is lastError either way.
    // A refusal of a text confirmed in place goes to the in-place editor instead (see
    // commitFromView), and leaves with it.
    void report(const QString& message) override;

    // Re-reads every value text (after a change made elsewhere).
    void refresh();
    // The form's notice of a change: the values at paths (any value when empty) are read afresh
    // when next shown, and the rows show them once the event loop runs, however many notices
    // come before.
    void refreshSoon(const QStringList& paths = {});
    void Modified() override;
    quint64 ValuesStamp(const TPropertyEditor* editor) const override;

    const std::vector<TPalmoControl*>& formControls() const override;
    QString pathAt(int row) const override;
    std::shared_ptr<void> holdEditors() override;

signals:
    void propertyModified();
    void errorReported(const QString& message);

protected:
    // Ctrl+F anywhere in the inspector goes to the filter box.
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Runs an editor operation, holding the editor so that a rebuild meanwhile cannot free it; an
    // error it raises is reported (with the input that caused it, when there is one), and the
    // rows show the values the properties hold afterwards. A typed text (an input) is one step
    // with the texts typed into the same property of the same objects just before it.
    bool runEditor(const std::shared_ptr<TPropertyEditor>& editor,
                   const std::function<void(TPropertyEditor*)>& action, const QString& input = QString());
    void rebuild();
    void closeInPlaceEditors();
    // Tells the view that values may read otherwise now, without forgetting any.
    void showValues();

    FormEditing* m_form;
    QTreeView* m_view;
    PropertyModel* m_model;
    QLineEdit* m_filter;
    InspectorFilter* m_rowFilter;
    QLabel* m_error;
    std::vector<QObject*> m_objects;
    QString m_lastError;
    int m_running = 0;
    // Menus and questions open that hold package code (an editor, texts it gave) across their
    // event loops: the package stays while they do.
    int m_holding = 0;
    bool m_refreshPending = false;
    // Set by each notice of a change: whether one came while an editor ran.
    bool m_toldOfChange = false;
    // The path of the row whose editor runs.
    QString m_runningPath;
    int m_viewCommits = 0;
    bool m_rebuildPending = false;
    bool m_refreshing = false;
    // While set, a refusal goes beside the in-place editor rather than to the error line.
    bool m_messageInPlace = false;
};
