#pragma once

#include "appconfig.h"

#include <QObject>
#include <QPointer>

class QNetworkAccessManager;
class QNetworkReply;
class QWidget;

// Asks the update address whether a newer version exists and, if the user
// agrees, starts the maintenance tool beside the program. Whatever the
// server answers is treated as hostile: the answer is size-capped, parsed
// without recursion, and only a well-formed version number from it is ever
// compared or shown.
class UpdateMgr : public QObject
{
    Q_OBJECT
public:
    static constexpr qint64 MaxAnswerBytes = 64 * 1024;
    static constexpr int MaxRedirects = 3;

    struct UpdateDocument
    {
        QString newAppVersion;
        qint64 diskSpaceMb = 0;
    };

    // Starts the first check itself; the window is the parent of every box shown.
    explicit UpdateMgr(QObject *parent = nullptr, const AppConfig &config = AppConfig::instance());
    ~UpdateMgr() override;

    bool isChecking() const { return !m_reply.isNull(); }

    // Reads the attributes of the root element's first child element.
    // Fails on malformed XML, document type declarations and deep nesting.
    static bool parseUpdateDocument(const QByteArray &body, UpdateDocument *document, QString *error);
    // Digits and dots, a few parts; anything else is never compared or shown.
    static bool looksLikeVersion(const QString &text);

signals:
    void closeAppClicked();
    // Every check ends with this once nothing more will be shown for it; the
    // version is the one the answer named, or empty when the answer was unusable.
    void checkFinished(const QString &newAppVersion);

public slots:
    void checkForAppUpdate();
    void closeTimeout();
    void checkForAppUpdateFinished(QNetworkReply *netReply);
    void askAboutAppUpdate(QString newServiceVersion);
    void continueAppUpdate();
    bool isNewVersion(QString oldVersion, QString newVersion);
    bool isFreeDiskSpace(qint64 requiredSpace);

private:
    void onReplyReadyRead();
    void offerUpdate(const UpdateDocument &document);
    void warn(const QString &title, const QString &text);
    QWidget *parentWindow() const;

    const AppConfig m_config;
    QNetworkAccessManager *m_network = nullptr;
    QPointer<QNetworkReply> m_reply;
    QByteArray m_body;
    bool m_tooLarge = false;
};
