#pragma once
// The designer's main window: the form's controls, a live preview, the property inspector and
// the package view.

#include "PackageLoader.h"

#include <QMainWindow>

class QListWidget;
class PackagesView;
class PreviewWidget;
class PropertyInspector;
class SampleForm;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(const QString& packagePath, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Selects the control listed under caption and shows its properties.
    bool selectControl(const QString& caption);

    SampleForm* form() const { return m_form; }
    PropertyInspector* inspector() const { return m_inspector; }
    PreviewWidget* preview() const { return m_preview; }
    PackagesView* packagesView() const { return m_packages; }
    PackageLoader& loader() { return m_loader; }
    QListWidget* controlList() const { return m_controls; }

private:
    void showSelection();

    PackageLoader m_loader;
    SampleForm* m_form;
    QListWidget* m_controls;
    PreviewWidget* m_preview;
    PropertyInspector* m_inspector;
    PackagesView* m_packages;
};
