#pragma once

#include "corefixture.h"
#include "localhttpserver.h"
#include "messageboxanswerer.h"
#include "releasenotesanswerer.h"
#include "urlrecorder.h"

#include <QObject>
#include <QString>
#include <QVariantList>

#include <memory>

class Downloader;

// Title, text, buttons and parent of a message box, to compare with expectedBox().
inline QVariantList boxFields(const MessageBoxAnswerer::Box &box)
{
    return {box.title, box.text, int(box.buttons),
            QVariant::fromValue(static_cast<QObject *>(box.parent.data()))};
}

inline QVariantList expectedBox(const QString &text, QMessageBox::StandardButtons buttons,
                                QObject *parent)
{
    return {QStringLiteral("Veldra"), text, int(buttons), QVariant::fromValue(parent)};
}

/*
 * The update registry, the appcast check and the downloader against a real local HTTP server
 * (tests/support/httpserver.py). Nothing here should open the release-notes dialog (its web view
 * is tested in the releasenotes area): one that opens anyway is closed and fails the test. Each
 * check uses an address of its own, because the registry keeps one updater per address for the life
 * of the process.
 */
class TestUpdater : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    // tst_appcastcheck.cpp
    void compare_data();
    void compare();
    void registryDefaultsAndSetters();
    void checkReadsPlatformEntry_data();
    void checkReadsPlatformEntry();
    void redirectsAreFollowed_data();
    void redirectsAreFollowed();
    void failedCheckMeansNoUpdate_data();
    void failedCheckMeansNoUpdate();
    void customAppcastHandsOverRawBytes();
    void noUpdateMessage_data();
    void noUpdateMessage();
    void userAgentIsSent();

    // tst_downloader.cpp
    void sizeLabel_data();
    void sizeLabel();
    void timeRemainingLabel();
    void unknownSizeShowsBusyState();
    void downloadCompletes_data();
    void downloadCompletes();
    void installBoxAndOpenButton();
    void cancel_data();
    void cancel();
    void networkErrorIsReported_data();
    void networkErrorIsReported();
    void unsafeFileNames_data();
    void unsafeFileNames();
    void checksum_data();
    void checksum();
    void openWithoutFileName();

private:
    QString uniqueUrl(const QString &path);
    QStringList checkAndWait(const QString &url, bool bSilentIfNoUpdate);
    QString downloadAndWait(Downloader &downloader, const QString &path);

    std::unique_ptr<LocalHttpServer> m_server;
    std::unique_ptr<CoreFixture> m_fixture;
    std::unique_ptr<MessageBoxAnswerer> m_answerer;
    std::unique_ptr<UrlRecorder> m_urls;
    std::unique_ptr<ReleaseNotesAnswerer> m_unexpectedDialogs;
    int m_urlCount = 0;
};
