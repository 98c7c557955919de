#pragma once
// Shows the loaded design-time package (description, units, required packages) and unloads or
// loads it again.

#include <QWidget>

#include <functional>

class QLabel;
class QPushButton;
class PackageLoader;

class PackagesView : public QWidget {
    Q_OBJECT
public:
    PackagesView(PackageLoader* loader, QString packagePath, QWidget* parent = nullptr);

    // Loads or unloads; a failure is shown in the view and returned as false.
    bool loadPackage();
    bool unloadPackage();
    void updateView();
    // What unloading would take from the form ("" when nothing): when the user asks to unload
    // and it says something, the view asks first (Unload or Cancel).
    std::function<QString()> whatUnloadTakes;
    // The Unload button's question: true when the user chose Unload (or nothing was to ask).
    bool confirmUnload();

signals:
    void packageChanged();

private:
    // Runs a load or unload; shows what it says, or the error it raises.
    bool change(const std::function<QString()>& action);

    PackageLoader* m_loader;
    QString m_packagePath;
    QLabel* m_description;
    QLabel* m_units;
    QLabel* m_requires;
    QPushButton* m_toggle;
    QLabel* m_status;
};
