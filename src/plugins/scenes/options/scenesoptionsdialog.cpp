#include "scenesoptionsdialog.h"

#include "appearanceoptionspage.h"
#include "generaloptionspage.h"
#include "icore.h"
#include "ioptionpage.h"
#include "keyboardoptionspage.h"
#include "mainwindow.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QVBoxLayout>

ScenesOptionsDialog::ScenesOptionsDialog(QWidget *parent)
    : IOptionsDlg(parent)
    , m_pPageList(new QListWidget(this))
    , m_pPageStack(new QStackedWidget(this))
    , m_pButtonBox(new QDialogButtonBox(
              QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply, this))
{
    setWindowTitle(tr("Preferences"));
    m_pPageList->setObjectName(QStringLiteral("pageList"));
    m_pPageStack->setObjectName(QStringLiteral("pageStack"));
    m_pPageList->setMaximumWidth(180);
    resize(760, 520);

    auto *pages = new QHBoxLayout;
    pages->addWidget(m_pPageList);
    pages->addWidget(m_pPageStack, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(pages, 1);
    layout->addWidget(m_pButtonBox);

    connect(m_pPageList, &QListWidget::currentRowChanged, this,
            &ScenesOptionsDialog::onPageChanged);
    connect(m_pButtonBox->button(QDialogButtonBox::Ok), &QPushButton::clicked, this,
            &ScenesOptionsDialog::onOK);
    connect(m_pButtonBox->button(QDialogButtonBox::Cancel), &QPushButton::clicked, this,
            &ScenesOptionsDialog::onCancel);
    connect(m_pButtonBox->button(QDialogButtonBox::Apply), &QPushButton::clicked, this,
            &ScenesOptionsDialog::onApply);
    updateApplyButton();
}

ScenesOptionsDialog::~ScenesOptionsDialog() = default;

void ScenesOptionsDialog::showDialog()
{
    initDialog();
    for (IOptionPage *page : qAsConst(m_pages)) {
        if (!page->isInitialized())
            page->initValues();
    }
    updateApplyButton();
    if (!isVisible())
        centreOnMainWindow();
    show();
    raise();
    activateWindow();
}

// The dialog has no parent, so the window system would place it anywhere.
void ScenesOptionsDialog::centreOnMainWindow()
{
    const QWidget *window = ICore::getMainWindow();
    if (!window || !window->isVisible())
        return;
    QRect placed(QPoint(), size());
    placed.moveCenter(window->frameGeometry().center());
    // A small window near a screen edge must not push the dialog's title bar off the screen.
    const QRect available = window->screen()->availableGeometry();
    const int maxLeft = qMax(available.left(), available.x() + available.width() - placed.width());
    const int maxTop = qMax(available.top(), available.y() + available.height() - placed.height());
    placed.moveTo(qBound(available.left(), placed.left(), maxLeft),
                  qBound(available.top(), placed.top(), maxTop));
    move(placed.topLeft());
}

void ScenesOptionsDialog::initDialog()
{
    if (m_bBuilt)
        return;
    m_bBuilt = true;
    addPage(new GeneralOptionsPage);
    addPage(new AppearanceOptionsPage);
    addPage(new KeyboardOptionsPage);
    onPageChanged(0);
}

void ScenesOptionsDialog::onApply()
{
    for (IOptionPage *page : qAsConst(m_pages)) {
        if (page->isChanged())
            page->saveChanges();
    }
    updateApplyButton();
}

void ScenesOptionsDialog::onCancel()
{
    for (IOptionPage *page : qAsConst(m_pages)) {
        if (page->isChanged())
            page->discardChanges();
    }
    refillPagesOnNextShow();
    updateApplyButton();
    hide();
}

void ScenesOptionsDialog::onOK()
{
    onApply();
    refillPagesOnNextShow();
    hide();
}

void ScenesOptionsDialog::onPageChanged(int nPage)
{
    if (nPage < 0 || nPage >= m_pages.size()) {
        qWarning("ScenesOptionsDialog: there is no page %d", nPage);
        return;
    }
    m_pPageStack->setCurrentIndex(nPage);
    m_pPageList->setCurrentRow(nPage);
}

void ScenesOptionsDialog::addPage(IOptionPage *pPage)
{
    if (!pPage) {
        qWarning("ScenesOptionsDialog::addPage: null page");
        return;
    }
    if (m_pages.contains(pPage))
        return;
    initDialog(); // the dialog's own pages come first, also when another plug-in adds one early
    m_pages.append(pPage);
    m_pPageStack->addWidget(pPage);
    m_pPageList->addItem(pPage->windowTitle());
    connect(pPage, &IOptionPage::dataChanged, this, &ScenesOptionsDialog::onPageDataChanged);
}

IOptionPage *ScenesOptionsDialog::getPage(int nPage)
{
    return m_pages.value(nPage, nullptr);
}

int ScenesOptionsDialog::getPageCount()
{
    return m_pages.size();
}

void ScenesOptionsDialog::reject()
{
    onCancel();
}

void ScenesOptionsDialog::onPageDataChanged()
{
    if (auto *page = qobject_cast<IOptionPage *>(sender()))
        page->setChanged(true);
    updateApplyButton();
}

void ScenesOptionsDialog::updateApplyButton()
{
    bool bChanged = false;
    for (IOptionPage *page : qAsConst(m_pages))
        bChanged = bChanged || page->isChanged();
    m_pButtonBox->button(QDialogButtonBox::Apply)->setEnabled(bChanged);
}

void ScenesOptionsDialog::refillPagesOnNextShow()
{
    for (IOptionPage *page : qAsConst(m_pages))
        page->setNeedInitConfig2UI();
}
