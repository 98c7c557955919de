#pragma once
// Drives the colour dialog that Edit runs modally: the steps are started before Edit and played
// from inside the dialog's own loop once it is up.

#include "dialog/CVKZLMOBILEDsnColorDialog.h"
#include "support/ColorFormProbe.h"

#include <QApplication>
#include <QMetaProperty>
#include <QTimer>

#include <functional>

inline QMetaProperty PropertyOf(QObject* Object, const char* Name)
{
    const QMetaObject* Meta = Object->metaObject();
    return Meta->property(Meta->indexOfProperty(Name));
}

// Plays Steps on the colour dialog once it runs modally; records whether one came up.
class DialogDriver {
public:
    explicit DialogDriver(std::function<void(TCVKZLMOBILEColorForm&)> Steps) : FSteps(std::move(Steps))
    {
        FPoll.setInterval(5);
        QObject::connect(&FPoll, &QTimer::timeout, [this] {
            auto* Form = qobject_cast<TCVKZLMOBILEColorForm*>(QApplication::activeModalWidget());
            if (!Form)
                return;
            FPoll.stop();
            ++Shown;
            FSteps(*Form);
        });
        FPoll.start();
    }
    int Shown = 0;

private:
    std::function<void(TCVKZLMOBILEColorForm&)> FSteps;
    QTimer FPoll;
};

