#include "updatemgr.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QMessageBox>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QProcess>
#include <QRegularExpression>
#include <QStorageInfo>
#include <QWidget>
#include <QXmlStreamReader>

Q_LOGGING_CATEGORY(lcUpdate, "plandeck.update")

namespace {

// The document is two levels deep; anything much deeper is not one.
constexpr int MaxDepth = 32;

} // namespace

UpdateMgr::UpdateMgr(QObject *parent, const AppConfig &config)
    : QObject(parent)
    , m_config(config)
    , m_network(new QNetworkAccessManager(this))
{
    connect(m_network, &QNetworkAccessManager::finished, this, &UpdateMgr::checkForAppUpdateFinished);
    checkForAppUpdate();
}

UpdateMgr::~UpdateMgr()
{
    // The manager deletes its replies; they must not report to a half-destroyed checker.
    m_network->disconnect(this);
    if (m_reply)
        m_reply->disconnect(this);
}

void UpdateMgr::checkForAppUpdate()
{
    qCDebug(lcUpdate).noquote() << "UpdateMgr::checkForAppUpdate url:" << m_config.updateUrl.toString();
    if (m_config.updateUrl.isEmpty() || m_reply)
        return;
    QNetworkRequest request(m_config.updateUrl);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(MaxRedirects);
    request.setTransferTimeout(m_config.updateTimeoutMs);
    request.setHeader(QNetworkRequest::UserAgentHeader,
                      QStringLiteral("Plandeck/%1").arg(QCoreApplication::applicationVersion()));
    m_body.clear();
    m_tooLarge = false;
    m_reply = m_network->get(request);
    connect(m_reply, &QNetworkReply::readyRead, this, &UpdateMgr::onReplyReadyRead);
}

void UpdateMgr::onReplyReadyRead()
{
    auto *reply = qobject_cast<QNetworkReply *>(sender());
    if (!reply || reply != m_reply || m_tooLarge)
        return;
    // Read as it arrives, so a server cannot make the program buffer more than the cap.
    if (m_body.size() + reply->bytesAvailable() > MaxAnswerBytes) {
        m_tooLarge = true;
        reply->abort();
        return;
    }
    m_body += reply->readAll();
}

void UpdateMgr::closeTimeout()
{
    emit closeAppClicked();
}

void UpdateMgr::checkForAppUpdateFinished(QNetworkReply *netReply)
{
    netReply->deleteLater();
    if (netReply != m_reply)
        return;
    m_reply = nullptr;

    const QString url = netReply->url().toString();
    const int status = netReply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (m_tooLarge || netReply->error() != QNetworkReply::NoError || status != 200) {
        QString why = m_tooLarge ? QStringLiteral("answer larger than %1 bytes").arg(MaxAnswerBytes)
                                 : netReply->errorString();
        if (!m_tooLarge && netReply->error() == QNetworkReply::NoError)
            why = QStringLiteral("HTTP status %1").arg(status);
        qCWarning(lcUpdate).noquote() << "UpdateMgr::checkForAppUpdateFinished error:" << why << "url:" << url;
        m_body.clear();
        emit checkFinished(QString());
        return;
    }

    const QByteArray body = m_body + netReply->readAll();
    m_body.clear();
    UpdateDocument document;
    QString error;
    if (body.size() > MaxAnswerBytes || !parseUpdateDocument(body, &document, &error)) {
        // The body itself stays out of the log: it is whatever the server chose to send.
        qCWarning(lcUpdate).noquote() << "UpdateMgr::checkForAppUpdateFinished unreadable response:" << error
                                      << "bytes:" << body.size();
        emit checkFinished(QString());
        return;
    }
    if (!looksLikeVersion(document.newAppVersion)) {
        qCWarning(lcUpdate).noquote() << "UpdateMgr::checkForAppUpdateFinished no version number in the response";
        emit checkFinished(QString());
        return;
    }
    qCDebug(lcUpdate).noquote() << "curr_app_version:" << QCoreApplication::applicationVersion()
                                << "new_app_version:" << document.newAppVersion;
    // Boxes are shown from the event loop, not from inside the network manager's signal.
    QMetaObject::invokeMethod(this, [this, document] { offerUpdate(document); }, Qt::QueuedConnection);
}

void UpdateMgr::offerUpdate(const UpdateDocument &document)
{
    if (isNewVersion(QCoreApplication::applicationVersion(), document.newAppVersion)
        && isFreeDiskSpace(document.diskSpaceMb))
        askAboutAppUpdate(document.newAppVersion);
    emit checkFinished(document.newAppVersion);
}

bool UpdateMgr::parseUpdateDocument(const QByteArray &body, UpdateDocument *document, QString *error)
{
    *document = UpdateDocument();
    QXmlStreamReader xml(body);
    int depth = 0;
    bool childSeen = false;
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::DTD:
            // Entity declarations are how small answers become huge ones.
            *error = QStringLiteral("document type declarations are not accepted");
            return false;
        case QXmlStreamReader::StartElement:
            if (++depth > MaxDepth) {
                *error = QStringLiteral("nested deeper than %1 elements").arg(MaxDepth);
                return false;
            }
            if (depth == 2 && !childSeen) {
                childSeen = true;
                const QXmlStreamAttributes attributes = xml.attributes();
                document->newAppVersion = attributes.value(QLatin1String("new_app_version")).toString();
                bool ok = false;
                const qint64 space = attributes.value(QLatin1String("disk_space_mb")).toLongLong(&ok);
                document->diskSpaceMb = ok && space > 0 ? space : 0;
            }
            break;
        case QXmlStreamReader::EndElement:
            --depth;
            break;
        default:
            break;
        }
    }
    if (xml.hasError()) {
        *error = xml.errorString();
        return false;
    }
    return true;
}

bool UpdateMgr::looksLikeVersion(const QString &text)
{
    static const QRegularExpression version(QStringLiteral("^[0-9]{1,6}(\\.[0-9]{1,6}){0,4}$"));
    return version.match(text).hasMatch();
}

bool UpdateMgr::isNewVersion(QString oldVersion, QString newVersion)
{
    const QStringList oldParts = oldVersion.split(QLatin1Char('.'));
    const QStringList newParts = newVersion.split(QLatin1Char('.'));
    for (int i = 0; i < newParts.size(); ++i) {
        const int newValue = newParts.at(i).toInt();
        const int oldValue = i < oldParts.size() ? oldParts.at(i).toInt() : 0;
        if (newValue != oldValue)
            return newValue > oldValue;
    }
    return false;
}

bool UpdateMgr::isFreeDiskSpace(qint64 requiredSpace)
{
    // The update lands beside the program, which need not be on the root volume.
    const QStorageInfo storage(m_config.applicationDirectory);
    qCDebug(lcUpdate).noquote() << "UpdateMgr::isFreeDiskSpace root:" << storage.rootPath();
    if (storage.isReadOnly()) {
        warn(tr("Filesystem read-only"), tr("Filesystem is read-only, can't update"));
        return false;
    }
    const qint64 available = std::max<qint64>(0, storage.bytesAvailable()) / 1024 / 1024;
    if (requiredSpace < available)
        return true;
    warn(tr("Not enough disk space"),
         tr("There is not enough free disk space, required: %1 [MB], available %2 [MB]").arg(requiredSpace).arg(available));
    return false;
}

void UpdateMgr::askAboutAppUpdate(QString newServiceVersion)
{
    // Plain text: the version came from the network, and a rich-text box would render markup.
    QMessageBox box(QMessageBox::Question, tr("New application version"),
                    tr("New application version (%1) is available.Please save your work and close Plandeck after "
                       "maintenance tool starts, would you like to continue?")
                        .arg(newServiceVersion),
                    QMessageBox::Ok | QMessageBox::Cancel, parentWindow());
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Cancel);
    if (box.exec() != QMessageBox::Ok)
        return;
    continueAppUpdate();
}

void UpdateMgr::continueAppUpdate()
{
    // A fixed program with fixed arguments: nothing from the answer reaches the command line.
    if (!QProcess::startDetached(m_config.maintenanceTool, {QStringLiteral("--updater")},
                                 m_config.applicationDirectory)) {
        warn(tr("Error starting maintenancetool"),
             tr("Error starting maintenance tool, you can start it manually from application directory or menu start"));
        return;
    }
    emit closeAppClicked();
}

void UpdateMgr::warn(const QString &title, const QString &text)
{
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok, parentWindow());
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

QWidget *UpdateMgr::parentWindow() const
{
    return qobject_cast<QWidget *>(parent());
}
