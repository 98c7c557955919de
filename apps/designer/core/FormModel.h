#pragma once
// The form being designed: an ordered list of styled controls with unique names. It owns its
// controls (as their QObject parent). Names are identifiers, unique without regard to the case
// of ASCII letters; the form is the only place that names and renames its controls.

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

#include "host/palmo/PalmoControl.h"

class FormModel : public QObject {
    Q_OBJECT
public:
    // The longest name a control may have.
    static constexpr int MaxNameLength = 255;

    explicit FormModel(QObject* parent = nullptr);
    ~FormModel() override;

    int count() const { return static_cast<int>(m_controls.size()); }
    TPalmoControl* control(int index) const { return m_controls.at(static_cast<std::size_t>(index)); }
    const std::vector<TPalmoControl*>& controls() const { return m_controls; }
    // Position of a control in the list, -1 when it is not on this form.
    int indexOf(const TPalmoControl* control) const;
    // A number that names the control for as long as it is on this form, never given to another
    // (a control that leaves and comes back gets a new one); 0 when it is not on this form.
    quint64 idOf(const TPalmoControl* control) const { return m_ids.value(control, 0); }
    // The control of that name (ASCII letters compared without regard to case), or null.
    TPalmoControl* find(const QString& name) const;

    // The class name without its leading "T" and the smallest number ≥ 1 that makes it unused:
    // "PalmoButton1", "PalmoButton2", …
    QString nextFreeName(const QString& className) const;
    // A new control of the class (one of controlClasses()) at the end, under the next free
    // name; null for an unknown class.
    TPalmoControl* add(const QString& className);
    // Puts control at index (0 … count()) under the name it carries. Returns "" and takes the
    // control; or, when its name is not usable, returns why and leaves control with the caller.
    QString insert(int index, std::unique_ptr<TPalmoControl>&& control);
    // Removes the control at index from the form and hands it to the caller.
    std::unique_ptr<TPalmoControl> take(int index);
    // Removes and deletes the control; false when it is not on this form.
    bool remove(TPalmoControl* control);
    // Puts the form's controls in this order: the order they are painted in (the last on top),
    // the Tab walk and the file follow it. False, changing nothing, when order is not the form's
    // controls each once.
    bool reorder(const std::vector<TPalmoControl*>& order);

    // "" when name is a valid identifier used by no control but except; otherwise why not.
    QString checkName(const QString& name, const TPalmoControl* except = nullptr) const;
    // Gives control the new name. Returns "" on success; otherwise the reason, and the control
    // keeps its old name.
    QString rename(TPalmoControl* control, const QString& newName);

    // Between these, changes of the controls' values are told as one changed() at the end (a
    // value typed for 10,000 controls is one notice, not 10,000); the list's own changes are told
    // as they happen. They nest.
    void beginChanges();
    void endChanges();
    // Between beginChanges and endChanges: the values being changed are at these paths only (the
    // changer knows them: a typed colour, the undo of one). The notice at the end names them; a
    // notice for changes that nobody limited may be about any value.
    void limitChangesTo(const QStringList& paths);
    // While changed() is told: the paths its values changed at, or empty when the change may be
    // about any value (or about the list or a name).
    const QStringList& changedPaths() const { return m_changedPaths; }

signals:
    // Before and after a control comes into the list at index or leaves it, for views that
    // follow the list row by row.
    void controlAboutToBeInserted(int index);
    void controlInserted(int index);
    void controlAboutToBeRemoved(int index);
    // The control has left the list (it still exists while this signal is delivered).
    void controlRemoved(int index, TPalmoControl* control);
    void controlRenamed(TPalmoControl* control);
    // Before and after the controls change places among themselves (none comes or goes).
    void controlsAboutToBeReordered();
    void controlsReordered();
    // Something on the form changed: the list, a name, or a property of any control.
    void changed();

private:
    static QString key(const QString& name);
    void controlChanged();
    std::vector<TPalmoControl*> m_controls;
    // Each control's index, listed when asked for after the list changed (empty meanwhile).
    mutable QHash<const TPalmoControl*, int> m_positions;
    QHash<QString, TPalmoControl*> m_byName;  // keyed by the name with ASCII letters in lower case
    QHash<const TPalmoControl*, quint64> m_ids;
    quint64 m_lastId = 0;
    int m_changesHeld = 0;
    bool m_changedMeanwhile = false;
    // The paths the held changes were limited to; unlimited once a change came with no limit.
    QStringList m_limitedTo;
    bool m_limited = false;
    QStringList m_changedPaths;
};
