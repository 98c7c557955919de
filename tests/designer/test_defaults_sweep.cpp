// One default per property: for every class, with its collections at any size, a row is bold
// (changed) exactly when the file would save its value, and Reset makes the file leave it out.
// Texts typed into one row in a quick run are one undo step.
#include "core/Document.h"
#include "core/FormFile.h"
#include "core/FormModel.h"
#include "core/FormProperties.h"
#include "views/MainWindow.h"
#include "views/PropertyInspector.h"
#include "views/PropertyModel.h"

#include "support/FormRoundTrip.h"

#include "host/palmo/PalmoCollection.h"

#include <QApplication>
#include <QUndoStack>

#include <gtest/gtest.h>

namespace {

TEST(DefaultsSweep, ARowIsBoldExactlyWhenTheFileSavesItAndResetLeavesItOut)
{
    MainWindow window{QStringLiteral(CV_PACKAGE_PATH)};
    PropertyInspector& inspector = *window.inspector();
    std::mt19937 random(7);
    for (const QString& className : PalmoControlClasses())
        for (const int count : {0, 1, 3, 7, TPalmoCollection::MaxCount}) {
            window.document()->newForm();
            TPalmoControl* control = window.addControl(className);
            ASSERT_TRUE(control);
            std::vector<TPalmoCollection*> collections;
            for (const FormProperty& property : propertiesOf(control))
                if (auto* collection = qobject_cast<TPalmoCollection*>(property.owner))
                    collections.push_back(collection);
            for (TPalmoCollection* collection : collections)
                collection->SetCount(count);
            // About one value in three set at random (collection sizes stay as set).
            const std::vector<FormProperty> properties = propertiesOf(control);
            for (const FormProperty& property : properties)
                if (property.property.isWritable() && !qobject_cast<TPalmoCollection*>(property.owner) && random() % 3 == 0)
                    SetRandom(property.owner, property.property, random);
            window.setSelection({control});
            QApplication::processEvents();
            const auto saves = [&](const QString& path) {
                return FormFile::serialize(*window.form()).contains("\"" + path.toUtf8() + "\":");
            };
            int reset = 0;
            for (int row = 0; row < inspector.rowCount(); ++row) {
                const QString path = inspector.model()->leaves()[static_cast<std::size_t>(row)]->path;
                if (path == QStringLiteral("Name"))
                    continue;
                ASSERT_EQ(inspector.isChanged(row), saves(path)) << className.toStdString() << " " << count << " " << path.toStdString();
                if (inspector.isChanged(row) && ++reset % 2 == 0) {
                    ASSERT_TRUE(inspector.resetToDefault(row)) << path.toStdString();
                    EXPECT_FALSE(inspector.isChanged(row)) << path.toStdString();
                    EXPECT_FALSE(saves(path)) << path.toStdString();
                }
            }
        }
}

TEST(DefaultsSweep, TextsTypedIntoOneRowInAQuickRunAreOneUndoStep)
{
    MainWindow window{QStringLiteral(CV_PACKAGE_PATH)};
    PropertyInspector& inspector = *window.inspector();
    TPalmoControl* control = window.addControl(QStringLiteral("TPalmoButton"));
    const int left = control->FLeft;
    QUndoStack* stack = window.document()->undoStack();
    const int before = stack->count();
    for (const char* text : {"30", "31", "32"})
        ASSERT_TRUE(inspector.commitText(inspector.rowOf(QStringLiteral("Left")), QLatin1String(text)));
    ASSERT_TRUE(inspector.commitText(inspector.rowOf(QStringLiteral("Top")), QStringLiteral("40")));
    EXPECT_EQ(stack->count(), before + 2);
    window.document()->undo();
    window.document()->undo();
    EXPECT_EQ(control->FLeft, left);
}

}  // namespace
