#include "views/InspectorRowMenu.h"

#include "views/PropertyInspector.h"
#include "views/PropertyModel.h"
#include "views/ReplaceColorDialog.h"
#include "views/SharedPropertyEditor.h"

#include "core/ColorText.h"
#include "core/FormColors.h"
#include "core/FormEditing.h"
#include "core/FormProperties.h"

#include <QMenu>
#include <QMetaProperty>
#include <QPointer>
#include <QTreeView>

void showRowMenu(PropertyInspector& inspector, const QPoint& at)
{
    const int row = inspector.rowOfIndex(inspector.view()->indexAt(at));
    if (row < 0)
        return;
    QMenu menu(&inspector);
    menu.setObjectName(QStringLiteral("inspectorMenu"));
    QAction* reset = menu.addAction(PropertyInspector::tr("&Reset to Default"));
    reset->setObjectName(QStringLiteral("resetAction"));
    reset->setEnabled(inspector.isChanged(row));
    const std::shared_ptr<TPropertyEditor> editor = inspector.sharedEditorAt(row);
    QAction* dialog = nullptr;
    if (editor && (editor->GetAttributes() & paDialog))
        dialog = menu.addAction(PropertyInspector::tr("&Edit..."));
    QAction* replace = nullptr;
    if (inspector.canReplaceColor(row)) {
        replace = menu.addAction(PropertyInspector::tr("Re&place Colour..."));
        replace->setObjectName(QStringLiteral("replaceColourAction"));
    }
    const QString path = inspector.model()->leaves()[static_cast<std::size_t>(row)]->path;
    QAction* chosen = nullptr;
    {
        // The menu's loop may run anything, an unload of the package among it.
        const PropertyInspector::HoldAcrossLoop hold(&inspector);
        chosen = menu.exec(inspector.view()->viewport()->mapToGlobal(at));
        if (!hold.inspectorLives())
            return;
    }
    // The menu's loop may have changed the rows: find the row again by its path.
    const int now = inspector.rowOf(path);
    if (chosen && chosen == reset)
        inspector.resetToDefault(now);
    else if (chosen && chosen == dialog)
        inspector.edit(now);
    else if (chosen && chosen == replace)
        askReplaceColor(inspector, now);
}

void askReplaceColor(PropertyInspector& inspector, int row)
{
    if (!inspector.canReplaceColor(row))
        return;
    const std::shared_ptr<TPropertyEditor> editor = inspector.sharedEditorAt(row);
    const QString path = inspector.model()->leaves()[static_cast<std::size_t>(row)]->path;
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
        FormColors::holders(inspector.form().formControls(), property, editor->GetComponent(0)->property(property.name())).size());
    const ValueKind kind = kindOf(property);
    QString text;
    {
        // The names and texts came from the package's editor: it stays while the question is open.
        const PropertyInspector::HoldAcrossLoop hold(&inspector);
        // Made on the heap: the inspector, its parent, may go in the loop and take it along.
        const QPointer<ReplaceColorDialog> dialog = new ReplaceColorDialog(
            &inspector, PropertyInspector::tr("Replace %1 on the %2 properties of the form that hold it with:").arg(old).arg(held),
            [kind](const QString& typed) {
                const QString value = typed.trimmed();
                return ColorText::parseColorText(kind, value) ? QString() : ColorText::refusal(kind, value);
            });
        dialog->setWindowTitle(PropertyInspector::tr("Replace Colour"));
        dialog->setComboBoxItems(names);
        dialog->setComboBoxEditable(true);
        dialog->setTextValue(old);
        // Set once the dialog holds its list: set before, they would make it build a plain
        // text entry first, which the refusal's selection would then find.
        dialog->setOkButtonText(PropertyInspector::tr("&Replace"));
        dialog->setCancelButtonText(PropertyInspector::tr("&Cancel"));
        const bool ok = dialog->exec() == QDialog::Accepted;
        if (!hold.inspectorLives() || !dialog)
            return;
        text = dialog->textValue();
        delete dialog;
        if (!ok)
            return;
    }
    // The dialog's loop may have changed the rows: find the row again by its path.
    inspector.replaceColor(inspector.rowOf(path), text);
}
