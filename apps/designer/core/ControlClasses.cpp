#include "core/ControlClasses.h"
#include "core/ShownText.h"

#include "host/palmo/PalmoCollection.h"
#include "host/palmo/PalmoControl.h"
#include "host/palmo/PalmoFactory.h"

#include <QMetaObject>
#include <QPainter>
#include <QVariant>

// The descriptors, one per file in classes/.
extern const ControlClass ButtonClass;
extern const ControlClass OnOffButtonClass;
extern const ControlClass TrackbarClass;
extern const ControlClass ListItemClass;
extern const ControlClass PageIndicatorClass;
extern const ControlClass SpinnerClass;
extern const ControlClass PopupClass;

namespace {

const QString AnyItem = QStringLiteral("[*]");

// The collection a path's "[*]" belongs to: the control's property named by what precedes it.
const TPalmoCollection* collectionOf(const TPalmoControl& control, const QString& path)
{
    const QString name = path.left(path.indexOf(AnyItem));
    return qobject_cast<const TPalmoCollection*>(control.property(name.toLatin1().constData()).value<QObject*>());
}

// Each pair as declared, or once per item of the collection its "[*]" names.
template <typename Pair>
std::vector<Pair> expanded(const TPalmoControl& control, const std::vector<Pair>& declared, QString Pair::*first,
                           QString Pair::*second)
{
    std::vector<Pair> pairs;
    for (const Pair& pair : declared) {
        const QString& wild = (pair.*first).contains(AnyItem) ? pair.*first : pair.*second;
        if (!wild.contains(AnyItem)) {
            pairs.push_back(pair);
            continue;
        }
        const TPalmoCollection* items = collectionOf(control, wild);
        for (int item = 0; items && item < items->Count(); ++item) {
            const QString index = QStringLiteral("[%1]").arg(item);
            Pair one = pair;
            one.*first = QString(pair.*first).replace(AnyItem, index);
            one.*second = QString(pair.*second).replace(AnyItem, index);
            pairs.push_back(std::move(one));
        }
    }
    return pairs;
}

}  // namespace

QString ControlClass::name() const
{
    return QString::fromLatin1(meta->className());
}

std::unique_ptr<TPalmoControl> ControlClass::create() const
{
    // The controls' library makes its own controls (they register their classes with it).
    return CreatePalmoControl(name());
}

const std::vector<const ControlClass*>& controlClasses()
{
    static const std::vector<const ControlClass*> all{&ButtonClass,        &OnOffButtonClass, &TrackbarClass, &ListItemClass,
                                                      &PageIndicatorClass, &SpinnerClass,     &PopupClass};
    return all;
}

const ControlClass* controlClassNamed(const QString& name)
{
    for (const ControlClass* controlClass : controlClasses())
        if (name == QLatin1String(controlClass->meta->className()))
            return controlClass;
    return nullptr;
}

const ControlClass* controlClassOf(const TPalmoControl& control)
{
    for (const ControlClass* controlClass : controlClasses())
        if (control.metaObject() == controlClass->meta)
            return controlClass;
    return nullptr;
}

std::vector<TextPair> textPairsOf(const TPalmoControl& control)
{
    const ControlClass* controlClass = controlClassOf(control);
    return controlClass ? expanded(control, controlClass->textPairs, &TextPair::text, &TextPair::background)
                        : std::vector<TextPair>{};
}

std::vector<StatePair> statePairsOf(const TPalmoControl& control)
{
    const ControlClass* controlClass = controlClassOf(control);
    return controlClass ? expanded(control, controlClass->statePairs, &StatePair::state, &StatePair::other)
                        : std::vector<StatePair>{};
}

void paintControl(QPainter& painter, const TPalmoControl& control, const QRectF& area)
{
    if (const ControlClass* controlClass = controlClassOf(control)) {
        controlClass->paint(painter, control, area);
        return;
    }
    painter.setPen(QPen(QColor(0x80, 0x80, 0x80), 1, Qt::DashLine));
    painter.setBrush(QColor(0xE0, 0xE0, 0xE0));
    painter.drawRect(area.adjusted(0.5, 0.5, -0.5, -0.5));
    painter.setPen(QColor(0x40, 0x40, 0x40));
    painter.drawText(area, Qt::AlignCenter | Qt::TextSingleLine, lineToRoom(painter.fontMetrics(), control.Name(), area.width()));
}

QString captionPathOf(const TPalmoControl& control)
{
    const ControlClass* controlClass = controlClassOf(control);
    return controlClass && controlClass->captionPath ? controlClass->captionPath(control) : QString();
}
