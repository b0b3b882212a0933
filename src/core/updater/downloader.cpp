#include "downloader.h"
#include "ui_downloader.h"

#include "icore.h"
#include "iui.h"
#include "mainwindow.h"
#include "transfertimeout_p.h"
#include "updatesignature_p.h"
#include "webaddress_p.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QNetworkAccessManager>
#include <QNetworkRequest>
#include <QRegularExpression>

#include <cstdio>

namespace {

const char PARTIAL_DOWN[] = ".part";
const int maxRedirects = 10;
// Qt's HTTP thread hands every chunk to this thread as soon as it is read; without a limit the
// chunks pile up in memory whenever this thread falls behind. With it the reply stops reading
// from the socket until its buffer is drained into the file.
const qint64 readBufferSize = 1024 * 1024;

// Read when used rather than when the library is loaded, so a process that points HOME at
// another folder before its first download (as the tests do) writes there.
QString downloadDir()
{
    return QDir::homePath() + QStringLiteral("/Downloads/");
}

quint32 currentTime()
{
    return static_cast<quint32>(QDateTime::currentSecsSinceEpoch());
}

// A name that could leave the download folder or confuse the file system is not used as given.
bool isSafeFileName(const QString &name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    for (const QChar c : name) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.category() == QChar::Other_Control)
            return false;
    }
    return true;
}

bool isSha256Digest(const QString &digest)
{
    static const QRegularExpression pattern(QStringLiteral("^[0-9A-Fa-f]{64}$"));
    return pattern.match(digest).hasMatch();
}

bool hasSuccessStatus(const QNetworkReply *reply)
{
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!status.isValid())
        return true; // not HTTP
    return status.toInt() >= 200 && status.toInt() < 300;
}

QWidget *mainWindow()
{
    return ICore::getMainWindow();
}

// The server's reason phrase, reduced to letters, digits and blanks, so it cannot carry markup
// into the message box or grow it without bound.
QString reasonPhrase(const QNetworkReply *reply)
{
    const QString phrase =
            reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString().left(60);
    QString kept;
    for (const QChar c : phrase) {
        if (c.isLetterOrNumber() || c == QLatin1Char(' '))
            kept.append(c);
    }
    return kept.simplified();
}

// Replaces the file at target by the one at source in one step, so the old file stays whole
// until the new one takes its place.
bool replaceFile(const QString &source, const QString &target)
{
    return std::rename(QFile::encodeName(source).constData(),
                       QFile::encodeName(target).constData()) == 0;
}

} // namespace

Downloader::Downloader(QWidget *parent)
    : QWidget(parent)
    , m_url(QString())
    , m_startTime(0)
    , m_fileName(QString())
    , m_ui(new Ui::Downloader)
    , m_useCustomInstallProcedures(false)
    , m_manager(new QNetworkAccessManager())
    , m_transferTimeoutMs(TransferTimeout::defaultTimeoutMs())
    , m_publicKey(QStringLiteral(VELDRA_UPDATE_PUBLIC_KEY))
{
    m_ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::WindowCloseButtonHint);
    setWindowTitle(tr("Downloading Updates"));

    m_ui->openButton->setEnabled(false);
    m_ui->openButton->hide();
    connect(m_ui->stopButton, &QPushButton::clicked, this, &Downloader::cancelDownload);
    connect(m_ui->openButton, &QPushButton::clicked, this, &Downloader::installUpdate);

    setFixedSize(minimumSizeHint());
}

Downloader::~Downloader()
{
    releaseReply();
    delete m_ui;
    delete m_manager; // also deletes the replies it made
}

bool Downloader::useCustomInstallProcedures() const
{
    return m_useCustomInstallProcedures;
}

void Downloader::setExpectedSha256(const QString &digest)
{
    m_expectedSha256 = digest;
}

void Downloader::setExpectedSignature(const QString &signature)
{
    m_expectedSignature = signature;
}

QString Downloader::publicKey() const
{
    return m_publicKey;
}

void Downloader::setPublicKey(const QString &key)
{
    m_publicKey = key;
}

int Downloader::transferTimeout() const
{
    return m_transferTimeoutMs;
}

void Downloader::setTransferTimeout(int timeoutMs)
{
    m_transferTimeoutMs = timeoutMs;
}

void Downloader::setUrlId(const QString &url)
{
    m_url = url;
}

// A digest that is given but malformed refuses the download rather than skipping the check.
void Downloader::startDownload(const QUrl &url)
{
    releaseReply();
    if (!WebAddress::isWebAddress(url)) {
        refuse(url, tr("The download address is not a web address."));
        return;
    }
    if (!m_expectedSha256.isEmpty() && !isSha256Digest(m_expectedSha256)) {
        refuse(url, tr("The update's checksum is not a valid SHA-256 digest."));
        return;
    }
    const QString problem = signatureProblem();
    if (!problem.isEmpty()) {
        refuse(url, problem);
        return;
    }
    m_redirectCount = 0;
    m_downloadSha256 = m_expectedSha256.toLower().toLatin1();
    m_downloadSignature = m_expectedSignature;
    m_downloadKey = m_publicKey;
    beginDownload(url);
}

void Downloader::setFileName(const QString &file)
{
    m_fileName = isSafeFileName(file)
                         ? file
                         : QStringLiteral("%1_Update.bin").arg(QStringLiteral("Veldra"));
}

void Downloader::setUserAgentString(const QString &agent)
{
    m_userAgent = agent;
}

void Downloader::setUseCustomInstallProcedures(const bool custom)
{
    m_useCustomInstallProcedures = custom;
}

void Downloader::openDownload()
{
    if (m_fileName.isEmpty()) {
        IUi::critical(this, tr("Veldra"), tr("Cannot find downloaded update!"), QMessageBox::Close);
        return;
    }
    // Another file of the name (the user's own, or a download that failed its check) is never
    // opened in place of the verified one.
    if (!m_publicKey.isEmpty() && finishedFilePath() != m_verifiedFile) {
        IUi::critical(this, tr("Veldra"), tr("Cannot find downloaded update!"), QMessageBox::Close);
        return;
    }
    if (QDesktopServices::openUrl(QUrl::fromLocalFile(finishedFilePath())))
        QCoreApplication::quit();
}

void Downloader::installUpdate()
{
    if (m_useCustomInstallProcedures)
        return;

    m_ui->stopButton->setText(tr("Close"));
    m_ui->downloadLabel->setText(tr("Download complete!"));
    m_ui->timeLabel->setText(tr("The installer will open separately") + QStringLiteral("..."));

    QMessageBox box(mainWindow());
    box.setWindowTitle(tr("Veldra"));
    box.setIcon(QMessageBox::Question);
    box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
    box.setDefaultButton(QMessageBox::Ok);
    box.setText(QStringLiteral("<h3>") +
                tr("In order to install the update, you need to quit the application.") +
                QStringLiteral("</h3>"));
    box.setInformativeText(tr("Click \"OK\" to begin installing the update"));

    if (box.exec() != QMessageBox::Ok) {
        m_ui->openButton->setEnabled(true);
        m_ui->openButton->show();
        m_ui->timeLabel->setText(tr("Click the \"Open\" button to apply the update"));
        return;
    }
    openDownload();
}

void Downloader::cancelDownload()
{
    if (!m_reply || m_reply->isFinished()) {
        hide();
        return;
    }

    QMessageBox box(mainWindow());
    box.setWindowTitle(tr("Veldra"));
    box.setIcon(QMessageBox::Question);
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setText(tr("Are you sure you want to cancel the download?"));
    if (box.exec() != QMessageBox::Yes)
        return;

    hide();
    if (m_reply)
        m_reply->abort(); // reaches onNetworkError with OperationCanceledError, not timed out
}

void Downloader::saveFile(qint64 received, qint64 total)
{
    if (!m_reply)
        return;
    if (followRedirectIfAny())
        return;

    appendReceivedData();
    if (!m_reply)
        return; // writing failed

    const bool complete = received >= total && total >= 1;
    if (complete && m_reply->error() == QNetworkReply::NoError && hasSuccessStatus(m_reply))
        completeDownload();
}

void Downloader::calculateSizes(qint64 received, qint64 total)
{
    const auto sizeText = [](qint64 size) {
        if (size < 1024)
            return tr("%1 bytes").arg(size);
        if (size < 1048576)
            return tr("%1 KB").arg(size / 1024);
        return tr("%1 MB").arg(size / 1048576);
    };
    m_ui->downloadLabel->setText(tr("Downloading Updates") + QStringLiteral(" (") +
                                 sizeText(received) + QLatin1Char(' ') + tr("of") +
                                 QLatin1Char(' ') + sizeText(total) + QLatin1Char(')'));
}

void Downloader::updateProgress(qint64 received, qint64 total)
{
    if (total < 1) {
        m_ui->progressBar->setRange(0, 0);
        m_ui->progressBar->setValue(-1);
        m_ui->downloadLabel->setText(tr("Downloading Updates") + QStringLiteral("..."));
        m_ui->timeLabel->setText(tr("%1: %2").arg(tr("Time Remaining"), tr("Unknown")));
        return;
    }

    m_ui->progressBar->setRange(0, 100);
    m_ui->progressBar->setValue(static_cast<int>(received * 100 / total));
    calculateSizes(received, total);
    calculateTimeRemaining(received, total);
    saveFile(received, total);
}

void Downloader::calculateTimeRemaining(qint64 received, qint64 total)
{
    const quint32 elapsed = currentTime() - m_startTime;
    if (elapsed == 0)
        return;

    // The estimate is the whole download's time at the average rate so far.
    const qint64 rate = received / elapsed;
    QString text;
    if (rate <= 0) {
        text = tr("Unknown");
    } else {
        const qint64 seconds = total / rate;
        if (seconds > 7200) {
            const int hours = static_cast<int>(seconds / 3600.0 + 0.5);
            text = tr("About %1 hours").arg(hours);
        } else if (seconds > 60) {
            const int minutes = static_cast<int>(seconds / 60.0 + 0.5);
            text = minutes >= 2 ? tr("About %1 minutes").arg(minutes) : tr("About 1 minute");
        } else {
            const int wholeSeconds = static_cast<int>(seconds + 0.5);
            text = wholeSeconds >= 2 ? tr("%1 seconds").arg(wholeSeconds) : tr("1 second");
        }
    }
    m_ui->timeLabel->setText(tr("Time Remaining") + QStringLiteral(": ") + text);
}

void Downloader::beginDownload(const QUrl &url)
{
    releaseReply();

    m_ui->progressBar->setValue(0);
    m_ui->stopButton->setText(tr("Stop"));
    m_ui->downloadLabel->setText(tr("Downloading Updates"));
    m_ui->timeLabel->setText(tr("Time Remaining") + QStringLiteral(": ") + tr("Unknown"));

    QNetworkRequest request(url);
    if (!m_userAgent.isEmpty())
        request.setRawHeader("User-Agent", m_userAgent.toUtf8());

    // An existing file of the final name stays until a complete download replaces it.
    QDir().mkpath(downloadDir());
    QFile::remove(partialFilePath());
    m_hash.reset();

    m_startTime = currentTime();
    m_reply = m_manager->get(request);
    m_reply->setReadBufferSize(readBufferSize);
    TransferTimeout::watch(m_reply, TransferTimeout::Silence, m_transferTimeoutMs);
    connect(m_reply, &QNetworkReply::downloadProgress, this, &Downloader::updateProgress);
    connect(m_reply, &QNetworkReply::redirected, this, &Downloader::followRedirect);
    connect(m_reply, &QNetworkReply::readyRead, this, &Downloader::appendReceivedData);
    connect(m_reply, &QNetworkReply::finished, this, &Downloader::onReplyFinished);

    showNormal();

    connect(m_reply, &QNetworkReply::errorOccurred, this,
            [this, url](QNetworkReply::NetworkError code) { onNetworkError(url, code); });
}

// A redirected download starts over from its target; only the target's data can complete it.
// A relative target is resolved against the address that answered.
void Downloader::followRedirect(const QUrl &target)
{
    const QUrl base = m_reply ? m_reply->url() : QUrl();
    const QUrl resolved = base.resolved(target);
    releaseReply();
    if (m_redirectCount >= maxRedirects) {
        onNetworkError(base, QNetworkReply::TooManyRedirectsError);
        return;
    }
    if (!WebAddress::isWebAddress(resolved)) {
        discardPartialFile();
        refuse(resolved,
               tr("The server redirected the download to an address that is not a web address."));
        return;
    }
    ++m_redirectCount;
    beginDownload(resolved);
}

bool Downloader::followRedirectIfAny()
{
    const QUrl target = m_reply->attribute(QNetworkRequest::RedirectionTargetAttribute).toUrl();
    if (target.isEmpty())
        return false;
    followRedirect(target);
    return true;
}

void Downloader::appendReceivedData()
{
    if (!m_reply || followRedirectIfAny())
        return;

    QFile file(partialFilePath());
    const QByteArray data = m_reply->readAll();
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append) || file.write(data) != data.size()) {
        qWarning().noquote() << "Downloader: cannot write" << file.fileName() << file.errorString();
        const QUrl url = m_reply->url();
        releaseReply();
        discardPartialFile();
        refuse(url, tr("The update cannot be saved in the Downloads folder."));
        return;
    }
    if (!m_downloadSha256.isEmpty())
        m_hash.addData(data);
}

// Downloads of unknown size end here; so does an empty body, which reports no progress.
void Downloader::onReplyFinished()
{
    if (!m_reply || m_reply->error() != QNetworkReply::NoError || followRedirectIfAny())
        return;
    if (!hasSuccessStatus(m_reply)) {
        onNetworkError(m_reply->url(), QNetworkReply::ProtocolInvalidOperationError);
        return;
    }
    appendReceivedData();
    if (m_reply)
        completeDownload();
}

// The finished file is checked before it replaces anything of the same name.
void Downloader::completeDownload()
{
    const QUrl url = m_reply->url();
    releaseReply();

    if (hasExpectedChecksum() && m_hash.result().toHex() != m_downloadSha256) {
        rejectDamagedFile();
        return;
    }
    if (!keepOnlyIfSigned())
        return;

    const QString filePath = finishedFilePath();
    if (!replaceFile(partialFilePath(), filePath)) {
        qWarning().noquote() << "Downloader: cannot rename" << partialFilePath() << "to"
                             << filePath;
        discardPartialFile();
        refuse(url, tr("The update cannot be saved in the Downloads folder."));
        return;
    }

    if (!m_downloadKey.isEmpty())
        m_verifiedFile = filePath;
    emit downloadFinished(m_url, filePath);
    installUpdate();
}

bool Downloader::hasExpectedChecksum() const
{
    return !m_downloadSha256.isEmpty();
}

void Downloader::rejectDamagedFile()
{
    discardPartialFile();
    close();
    qInfo().noquote() << "Downloaded update failed its SHA-256 check:" << finishedFilePath();
    IUi::warning(mainWindow(), tr("Veldra"),
                 tr("The downloaded update is damaged and was deleted."), QMessageBox::Ok,
                 QMessageBox::Ok);
}

// Why an update cannot be trusted before it is fetched: with a key, it must carry a well-formed
// signature. Empty when it may be fetched.
QString Downloader::signatureProblem() const
{
    if (m_publicKey.isEmpty())
        return QString();
    if (m_expectedSignature.trimmed().isEmpty())
        return tr("The update is not signed, so it cannot be trusted.");
    if (!UpdateSignature::isWellFormed(m_expectedSignature))
        return tr("The update's signature is malformed, so it cannot be trusted.");
    return QString();
}

// With a key, the complete file is kept only when its signature verifies over all of it.
bool Downloader::keepOnlyIfSigned()
{
    if (m_downloadKey.isEmpty())
        return true;
    const UpdateSignature::Result result =
            UpdateSignature::verify(partialFilePath(), m_downloadSignature, m_downloadKey);
    if (result == UpdateSignature::Valid)
        return true;

    discardPartialFile();
    close();
    qInfo().noquote() << "Downloaded update failed its signature check:" << finishedFilePath()
                      << "result" << result;
    QString text;
    switch (result) {
    case UpdateSignature::TooLarge:
        text = tr("The downloaded update is too large to check its signature, so it was "
                  "deleted.");
        break;
    case UpdateSignature::Unreadable:
        text = tr("The downloaded update could not be read to check its signature, so it was "
                  "deleted.");
        break;
    default:
        text = tr("The downloaded update is not signed by the publisher of Veldra, so it was "
                  "deleted.");
        break;
    }
    IUi::warning(mainWindow(), tr("Veldra"), text, QMessageBox::Ok, QMessageBox::Ok);
    return false;
}

// A cancellation by the user is only logged; every other failure is told in a sentence.
void Downloader::onNetworkError(const QUrl &url, QNetworkReply::NetworkError code)
{
    if (code == QNetworkReply::NoError)
        return;

    const bool cancelled = code == QNetworkReply::OperationCanceledError &&
                           !(m_reply && TransferTimeout::timedOut(m_reply));
    const QString reason = failureText(code);
    forgetReply();
    discardPartialFile();
    close();
    qInfo().noquote() << QStringLiteral("Error downloading update: ") + url.toString() +
                                 QStringLiteral(". Error code: ") + QString::number(code);
    if (!cancelled)
        showFailure(reason);
}

void Downloader::refuse(const QUrl &url, const QString &reason)
{
    qWarning().noquote() << "Downloader: not downloading" << url.toString() + QLatin1Char(':')
                         << reason;
    close();
    showFailure(reason);
}

void Downloader::showFailure(const QString &reason)
{
    IUi::warning(mainWindow(), tr("Veldra"), tr("Cannot download update: %1").arg(reason),
                 QMessageBox::Ok, QMessageBox::Ok);
}

// What went wrong with the running reply (or, without one, the code alone), as a sentence.
QString Downloader::failureText(QNetworkReply::NetworkError code) const
{
    if (m_reply && TransferTimeout::timedOut(m_reply))
        return tr("The connection timed out.");
    const int status =
            m_reply ? m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt() : 0;
    if (status > 0 && (status < 200 || status >= 300)) {
        const QString answer = QString::number(status) + QLatin1Char(' ') + reasonPhrase(m_reply);
        return tr("The server answered %1.").arg(answer.trimmed());
    }

    switch (code) {
    case QNetworkReply::ConnectionRefusedError:
        return tr("The server refused the connection.");
    case QNetworkReply::RemoteHostClosedError:
        return tr("The server closed the connection before the download was complete.");
    case QNetworkReply::HostNotFoundError:
        return tr("The server could not be found.");
    case QNetworkReply::TimeoutError:
        return tr("The connection timed out.");
    case QNetworkReply::SslHandshakeFailedError:
        return tr("A secure connection to the server could not be established.");
    case QNetworkReply::TooManyRedirectsError:
        return tr("The server redirected the download too many times.");
    case QNetworkReply::OperationCanceledError:
        return tr("The download was cancelled.");
    default:
        return tr("The download failed because of a network error.");
    }
}

// Stops listening to the current reply and lets it delete itself; a reply that is still running
// is ended first, which reports nothing since nobody listens any more.
void Downloader::releaseReply()
{
    if (!m_reply)
        return;
    QNetworkReply *reply = m_reply;
    forgetReply();
    if (!reply->isFinished())
        reply->abort();
}

// For a reply that is ending by itself (it reported an error).
void Downloader::forgetReply()
{
    if (!m_reply)
        return;
    m_reply->disconnect(this);
    m_reply->deleteLater();
    m_reply = nullptr;
}

void Downloader::discardPartialFile()
{
    QFile::remove(partialFilePath());
}

QString Downloader::partialFilePath() const
{
    return downloadDir() + m_fileName + QLatin1String(PARTIAL_DOWN);
}

QString Downloader::finishedFilePath() const
{
    return downloadDir() + m_fileName;
}
