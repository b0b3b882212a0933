#include "vdreleasenotedlg.h"
#include "ui_vdreleasenotedlg.h"

#include "icore.h"
#include "mainwindow.h"
#include "releasenotesrequestfilter_p.h"

#include <QPushButton>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
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
    showNotesSafely();
}

// The notes come from the update feed and are shown as a document only: no scripts, and no
// request besides the document itself. The view gets a private, off-the-record profile, so its
// filter does not touch other web views; the profile is made after the form, so the view and
// its page, which need it, are deleted first.
void VDReleaseNoteDlg::showNotesSafely()
{
    m_pRequestFilter = new ReleaseNotesRequestFilter(this);
    auto *profile = new QWebEngineProfile(this);
    profile->setUrlRequestInterceptor(m_pRequestFilter);
    auto *page = new QWebEnginePage(profile, m_pUi->m_pWebViewRL);
    QWebEngineSettings *settings = page->settings();
    settings->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
    settings->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    m_pUi->m_pWebViewRL->setPage(page);
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
    const QUrl address(text, QUrl::TolerantMode);
    m_pRequestFilter->allowDocument(address);
    view->load(address);
    connect(view, &QWebEngineView::loadFinished, this, &VDReleaseNoteDlg::onLoadFinished);
}

void VDReleaseNoteDlg::offerSkip()
{
    if (findChild<QPushButton *>(QStringLiteral("m_pBtnSkip")))
        return;
    m_pUi->m_pBtnClose->setText(tr("Remind Me Later"));
    auto *skip = new QPushButton(tr("Skip This Version"), this);
    skip->setObjectName(QStringLiteral("m_pBtnSkip"));
    m_pUi->horizontalLayout_2->insertWidget(0, skip);
    setTabOrder(m_pUi->m_pBtnClose, skip);
    connect(skip, &QPushButton::clicked, this, [this] { done(SkipVersion); });
}

// Showing the failure notice is itself a successful load, so "Update" is enabled after it.
void VDReleaseNoteDlg::onLoadFinished(bool ok)
{
    if (ok)
        m_pUi->m_pBtnUpdate->setEnabled(true);
    else
        m_pUi->m_pWebViewRL->setHtml(tr("<h2>Failed to load release notes.</h2>"), QUrl());
}
