// The accessible objects of the draw grid, its cells, and the paint box.
#include "host/vcl/AccessibleControls.h"

#include "host/vcl/ExtCtrls.h"
#include "host/vcl/Grids.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPointer>

#include <map>
#include <utility>

namespace {

// One cell of a draw grid: a list item named by its colour. It has no QObject of its own, so the
// grid's object keeps it registered by its index and frees it with itself.
class DrawGridCellAccessible : public QAccessibleInterface {
public:
    DrawGridCellAccessible(TDrawGrid* Grid, int Index) : FGrid(Grid), FIndex(Index) {}

    bool isValid() const override { return FGrid && FIndex < FGrid->ColCount() * FGrid->RowCount(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return FGrid ? FGrid->window()->windowHandle() : nullptr; }

    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(FGrid.data()); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }

    QString text(QAccessible::Text Kind) const override
    {
        if (!isValid() || Kind != QAccessible::Name)
            return QString();
        return FGrid->NameOfCell(Col(), Row());
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override
    {
        if (!isValid())
            return QRect();
        const TRect Cell = FGrid->CellRect(Col(), Row());
        return QRect(FGrid->mapToGlobal(QPoint(Cell.Left, Cell.Top)), QSize(Cell.Width(), Cell.Height()));
    }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override
    {
        QAccessible::State State;
        if (!isValid()) {
            State.invalid = true;
            return State;
        }
        const bool Current = Col() == FGrid->Col() && Row() == FGrid->Row();
        State.focusable = true;
        State.selectable = true;
        State.selected = Current;
        State.focused = Current && FGrid->hasFocus();
        State.invisible = !FGrid->isVisible();
        State.offscreen = State.invisible;
        return State;
    }

private:
    int Col() const { return FIndex % FGrid->ColCount(); }
    int Row() const { return FIndex / FGrid->ColCount(); }

    QPointer<TDrawGrid> FGrid;
    int FIndex;
};

// The grid: a list whose children are its cells, row by row.
class DrawGridAccessible : public QAccessibleWidget {
public:
    explicit DrawGridAccessible(TDrawGrid* Grid) : QAccessibleWidget(Grid, QAccessible::List) {}
    ~DrawGridAccessible() override
    {
        for (const auto& [Index, Id] : FCells)
            QAccessible::deleteAccessibleInterface(Id);
    }

    int childCount() const override { return Grid()->ColCount() * Grid()->RowCount(); }
    QAccessibleInterface* child(int Index) const override
    {
        if (Index < 0 || Index >= childCount())
            return nullptr;
        if (const auto Found = FCells.find(Index); Found != FCells.end())
            return QAccessible::accessibleInterface(Found->second);
        auto* Cell = new DrawGridCellAccessible(Grid(), Index);
        FCells.emplace(Index, QAccessible::registerAccessibleInterface(Cell));
        return Cell;
    }
    int indexOfChild(const QAccessibleInterface* Child) const override
    {
        for (const auto& [Index, Id] : FCells)
            if (QAccessible::accessibleInterface(Id) == Child)
                return Index;
        return -1;
    }
    QAccessibleInterface* childAt(int X, int Y) const override
    {
        const QPoint At = Grid()->mapFromGlobal(QPoint(X, Y));
        int C = -1, R = -1;
        Grid()->MouseToCell(At.x(), At.y(), C, R);
        return C < 0 ? nullptr : child(R * Grid()->ColCount() + C);
    }
    QAccessibleInterface* focusChild() const override
    {
        return Grid()->hasFocus() ? child(Grid()->Row() * Grid()->ColCount() + Grid()->Col()) : nullptr;
    }

private:
    TDrawGrid* Grid() const { return static_cast<TDrawGrid*>(widget()); }

    // Registered cells by index; created when first asked for.
    mutable std::map<int, QAccessible::Id> FCells;
};

// The paint box: its value is what the owner's AccessibleValue says (the box shows no number a
// value could be read from), given as the value and, for readers that do not ask for a value,
// as the description.
class PaintBoxAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit PaintBoxAccessible(TPaintBox* Box) : QAccessibleWidget(Box, QAccessible::Canvas) {}

    void* interface_cast(QAccessible::InterfaceType Type) override
    {
        if (Type == QAccessible::ValueInterface && Box()->AccessibleValue)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(Type);
    }
    QString text(QAccessible::Text Kind) const override
    {
        if (Kind == QAccessible::Value || (Kind == QAccessible::Description && Box()->accessibleDescription().isEmpty()))
            return Box()->ValueText();
        return QAccessibleWidget::text(Kind);
    }

    QVariant currentValue() const override { return Box()->ValueText(); }
    void setCurrentValue(const QVariant&) override {}
    QVariant maximumValue() const override { return QVariant(); }
    QVariant minimumValue() const override { return QVariant(); }
    QVariant minimumStepSize() const override { return QVariant(); }

private:
    TPaintBox* Box() const { return static_cast<TPaintBox*>(widget()); }
};

std::function<void(QAccessibleEvent*)>& EventTap()
{
    static std::function<void(QAccessibleEvent*)> Tap;
    return Tap;
}

void RaiseAccessibleEvent(QAccessibleEvent* Event)
{
    if (EventTap())
        EventTap()(Event);
    QAccessible::updateAccessibility(Event);
}

QAccessibleInterface* ControlAccessibleFactory(const QString& ClassName, QObject* Object)
{
    if (ClassName == QLatin1String("TDrawGrid"))
        if (auto* Grid = qobject_cast<TDrawGrid*>(Object))
            return new DrawGridAccessible(Grid);
    if (ClassName == QLatin1String("TPaintBox"))
        if (auto* Box = qobject_cast<TPaintBox*>(Object))
            return new PaintBoxAccessible(Box);
    return nullptr;
}

}  // namespace

void InstallControlAccessibility()
{
    static const bool Installed = [] {
        QAccessible::installFactory(ControlAccessibleFactory);
        return true;
    }();
    (void)Installed;
}

void NotifyCurrentCellFocused(TDrawGrid* Grid)
{
    QAccessibleEvent Focus(Grid, QAccessible::Focus);
    Focus.setChild(Grid->Row() * Grid->ColCount() + Grid->Col());
    RaiseAccessibleEvent(&Focus);
}

void SetAccessibleEventTap(std::function<void(QAccessibleEvent*)> Tap)
{
    EventTap() = std::move(Tap);
}
