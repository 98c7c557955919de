#include "views/InspectorRowMenu.h"

#include "views/InspectorRows.h"
#include "views/ReplaceColorDialog.h"
#include "views/SharedPropertyEditor.h"

#include "core/ColorText.h"
#include "core/FormColors.h"
#include "core/FormProperties.h"

#include <QMenu>
#include <QMetaProperty>
#include <QPointer>
#include <QCoreApplication>
#include <QTreeView>

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("PropertyInspector", text);
}

}  // namespace

void showRowMenu(InspectorRows& rows, const QPoint& at)
{
    const int row = rows.rowOfIndex(rows.view()->indexAt(at));
    if (row < 0)
        return;
    // Owned by the inspector, as its other menus and questions are.
    QMenu menu(rows.view()->parentWidget());
    menu.setObjectName(QStringLiteral("inspectorMenu"));
    QAction* reset = menu.addAction(tr("&Reset to Default"));
    reset->setObjectName(QStringLiteral("resetAction"));
    reset->setEnabled(rows.isChanged(row));
    const std::shared_ptr<TPropertyEditor> editor = rows.sharedEditorAt(row);
    QAction* dialog = nullptr;
    if (editor && (editor->GetAttributes() & paDialog))
        dialog = menu.addAction(tr("&Edit..."));
    QAction* replace = nullptr;
    if (rows.canReplaceColor(row)) {
        replace = menu.addAction(tr("Re&place Colour..."));
        replace->setObjectName(QStringLiteral("replaceColourAction"));
    }
    const QString path = rows.pathAt(row);
    QAction* chosen = nullptr;
    {
        // The menu's loop may run anything, an unload of the package among it.
        const QPointer<QTreeView> view = rows.view();
        const std::shared_ptr<void> hold = rows.holdEditors();
        chosen = menu.exec(view->viewport()->mapToGlobal(at));
        if (!view)
            return;
    }
    // The menu's loop may have changed the rows: find the row again by its path.
    const int now = rows.rowOf(path);
    if (chosen && chosen == reset)
        rows.resetToDefault(now);
    else if (chosen && chosen == dialog)
        rows.edit(now);
    else if (chosen && chosen == replace)
        askReplaceColor(rows, now);
}

void askReplaceColor(InspectorRows& rows, int row)
{
    if (!rows.canReplaceColor(row))
        return;
    const std::shared_ptr<TPropertyEditor> editor = rows.sharedEditorAt(row);
    const QString path = rows.pathAt(row);
    const QString old = visualValueOf(editor.get());
    QStringList names;
    try {
        if (editor->GetAttributes() & paValueList)
            editor->GetValues([&names](const String& value) { names << value; });
    } catch (const std::exception&) {
        names.clear();
    }
    const QMetaProperty property = editor->Property();
    const int held = static_cast<int>(
        FormColors::holders(rows.formControls(), property, editor->GetComponent(0)->property(property.name())).size());
    const ValueKind kind = kindOf(property);
    QString text;
    {
        // The names and texts came from the package's editor: it stays while the question is open.
        const QPointer<QTreeView> view = rows.view();
        const std::shared_ptr<void> hold = rows.holdEditors();
        // Made on the heap: the inspector, its parent, may go in the loop and take it along.
        const QPointer<ReplaceColorDialog> dialog = new ReplaceColorDialog(
            view->parentWidget(), tr("Replace %1 on the %2 properties of the form that hold it with:").arg(old).arg(held),
            [kind](const QString& typed) {
                const QString value = typed.trimmed();
                return ColorText::parseColorText(kind, value) ? QString() : ColorText::refusal(kind, value);
            });
        dialog->setWindowTitle(tr("Replace Colour"));
        dialog->setComboBoxItems(names);
        dialog->setComboBoxEditable(true);
        dialog->setTextValue(old);
        // Set once the dialog holds its list: set before, they would make it build a plain
        // text entry first, which the refusal's selection would then find.
        dialog->setOkButtonText(tr("&Replace"));
        dialog->setCancelButtonText(tr("&Cancel"));
        const bool ok = dialog->exec() == QDialog::Accepted;
        if (!view || !dialog)
            return;
        text = dialog->textValue();
        delete dialog;
        if (!ok)
            return;
    }
    // The dialog's loop may have changed the rows: find the row again by its path.
    rows.replaceColor(rows.rowOf(path), text);
}
