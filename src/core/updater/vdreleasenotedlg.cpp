#include "vdreleasenotedlg.h"
#include "ui_vdreleasenotedlg.h"

#include "icore.h"
#include "mainwindow.h"

#include <QUrl>
#include <QWebEngineView>

namespace {

bool isAddress(const QString &text)
{
    return text.startsWith(QLatin1String("http://"), Qt::CaseInsensitive) ||
           text.startsWith(QLatin1String("https://"), Qt::CaseInsensitive);
}

} // namespace

VDReleaseNoteDlg::VDReleaseNoteDlg(QWidget *parent)
    : QDialog(parent ? parent : ICore::getMainWindow(),
              Qt::Dialog | Qt::WindowTitleHint | Qt::CustomizeWindowHint)
    , m_pUi(new Ui::VDReleaseNoteUI())
{
    setWindowModality(Qt::NonModal);
    m_pUi->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::WindowCloseButtonHint);
    connect(m_pUi->m_pBtnUpdate, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_pUi->m_pBtnClose, &QPushButton::clicked, this, &QDialog::reject);
}

VDReleaseNoteDlg::~VDReleaseNoteDlg()
{
    delete m_pUi;
}

void VDReleaseNoteDlg::setHeading(const QString &text)
{
    m_pUi->m_pHeadingLabel->setText(text);
}

void VDReleaseNoteDlg::setChangelog(const QString &text)
{
    QWebEngineView *view = m_pUi->m_pWebViewRL;
    disconnect(view, &QWebEngineView::loadFinished, this, nullptr);

    if (!isAddress(text)) {
        view->setHtml(text, QUrl());
        return;
    }

    m_pUi->m_pBtnUpdate->setEnabled(false);
    view->load(QUrl(text, QUrl::TolerantMode));
    connect(view, &QWebEngineView::loadFinished, this, &VDReleaseNoteDlg::onLoadFinished);
}

// Showing the failure notice is itself a successful load, so "Update" is enabled after it.
void VDReleaseNoteDlg::onLoadFinished(bool ok)
{
    if (ok)
        m_pUi->m_pBtnUpdate->setEnabled(true);
    else
        m_pUi->m_pWebViewRL->setHtml(tr("<h2>Failed to load release notes.</h2>"), QUrl());
}
