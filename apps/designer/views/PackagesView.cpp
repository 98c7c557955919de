#include "views/PackagesView.h"

#include "packages/PackageLoader.h"

#include "host/rtl/SysUtils.h"

#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

PackagesView::PackagesView(PackageLoader* loader, QString packagePath, QWidget* parent)
    : QWidget(parent),
      m_loader(loader),
      m_packagePath(std::move(packagePath)),
      m_description(new QLabel(this)),
      m_units(new QLabel(this)),
      m_requires(new QLabel(this)),
      m_toggle(new QPushButton(this)),
      m_status(new QLabel(this))
{
    setObjectName(QStringLiteral("packagesView"));
    auto* layout = new QFormLayout(this);
    m_description->setWordWrap(true);
    m_units->setObjectName(QStringLiteral("packageUnits"));
    m_units->setWordWrap(true);
    m_requires->setWordWrap(true);
    m_toggle->setObjectName(QStringLiteral("packageToggle"));
    // As wide as its text, not the whole column.
    m_toggle->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    m_status->setObjectName(QStringLiteral("packageStatus"));
    m_status->setWordWrap(true);
    // Each text in the wide column, beside its name: in a narrow dock the names go above.
    layout->setRowWrapPolicy(QFormLayout::WrapLongRows);
    layout->addRow(tr("Package:"), m_description);
    layout->addRow(tr("Units:"), m_units);
    layout->addRow(tr("Requires:"), m_requires);
    layout->addRow(tr("Status:"), m_status);
    layout->addRow(QString(), m_toggle);
    connect(m_toggle, &QPushButton::clicked, this, [this] {
        if (m_loader->isLoaded()) {
            if (confirmUnload())
                unloadPackage();
        } else {
            loadPackage();
        }
    });
    updateView();
}

bool PackagesView::loadPackage()
{
    return change([this] {
        m_loader->load(m_packagePath);
        return tr("Loaded %1").arg(QFileInfo(m_packagePath).fileName());
    });
}

bool PackagesView::unloadPackage()
{
    return change([this] {
        m_loader->unload();
        const int dropped = m_loader->droppedRegistrations();
        return dropped == 1 ? tr("Unloaded; 1 registration dropped") : tr("Unloaded; %1 registrations dropped").arg(dropped);
    });
}

bool PackagesView::confirmUnload()
{
    const QString taken = whatUnloadTakes ? whatUnloadTakes() : QString();
    if (taken.isEmpty())
        return true;
    QMessageBox box(QMessageBox::Question, tr("Unload Package"), taken, QMessageBox::NoButton, this);
    box.setObjectName(QStringLiteral("unloadBox"));
    box.setInformativeText(tr("Unload the package anyway?"));
    QPushButton* unload = box.addButton(tr("&Unload"), QMessageBox::DestructiveRole);
    QPushButton* cancel = box.addButton(tr("&Cancel"), QMessageBox::RejectRole);
    box.setDefaultButton(cancel);
    box.setEscapeButton(cancel);
    box.exec();
    return box.clickedButton() == unload;
}

bool PackagesView::change(const std::function<QString()>& action)
{
    bool ok = true;
    try {
        m_status->setText(action());
    } catch (const Exception& e) {
        m_status->setText(e.Message());
        ok = false;
    } catch (const std::exception& e) {
        m_status->setText(QString::fromUtf8(e.what()));
        ok = false;
    }
    updateView();
    emit packageChanged();
    return ok;
}

void PackagesView::updateView()
{
    const bool loaded = m_loader->isLoaded();
    m_description->setText(loaded ? m_loader->description() : tr("(not loaded) %1").arg(m_packagePath));
    m_units->setText(m_loader->units().join(QStringLiteral(", ")));
    m_requires->setText(m_loader->requiredPackages().join(QStringLiteral(", ")));
    m_toggle->setText(loaded ? tr("Unload package") : tr("Load package"));
}
