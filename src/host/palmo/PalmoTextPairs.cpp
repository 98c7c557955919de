#include "host/palmo/PalmoTextPairs.h"

#include "host/palmo/PalmoCollection.h"

#include <QMetaClassInfo>
#include <QMetaObject>
#include <QStringList>
#include <QVariant>

namespace {

const char* const PairsKey = "TextOnBackground";
const QString AnyItem = QStringLiteral("[*]");

// The collection a path's "[*]" belongs to: the control's property named by what precedes it.
const TPalmoCollection* CollectionOf(const QObject& Control, const QString& Path)
{
    const QString Name = Path.left(Path.indexOf(AnyItem));
    return qobject_cast<const TPalmoCollection*>(Control.property(Name.toLatin1().constData()).value<QObject*>());
}

} // namespace

std::vector<TTextPair> DeclaredTextPairs(const QMetaObject& Class)
{
    std::vector<TTextPair> Pairs;
    for (int i = 0; i < Class.classInfoCount(); ++i) {
        const QMetaClassInfo Info = Class.classInfo(i);
        if (qstrcmp(Info.name(), PairsKey) != 0)
            continue;
        for (const QString& Entry : QString::fromLatin1(Info.value()).split(u';', Qt::SkipEmptyParts)) {
            const QStringList Parts = Entry.trimmed().split(QStringLiteral(" on "));
            if (Parts.size() == 2)
                Pairs.push_back({Parts[0].trimmed(), Parts[1].trimmed()});
        }
    }
    return Pairs;
}

std::vector<TTextPair> TextPairsOf(const QObject& Control)
{
    std::vector<TTextPair> Pairs;
    for (const TTextPair& Declared : DeclaredTextPairs(*Control.metaObject())) {
        const QString& Wild = Declared.Text.contains(AnyItem) ? Declared.Text : Declared.Background;
        if (!Wild.contains(AnyItem)) {
            Pairs.push_back(Declared);
            continue;
        }
        const TPalmoCollection* Items = CollectionOf(Control, Wild);
        for (int Item = 0; Items && Item < Items->Count(); ++Item) {
            const QString Index = QStringLiteral("[%1]").arg(Item);
            Pairs.push_back({QString(Declared.Text).replace(AnyItem, Index), QString(Declared.Background).replace(AnyItem, Index)});
        }
    }
    return Pairs;
}
