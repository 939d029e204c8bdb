#include "appconfig.h"
#include "updatemgr.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QNetworkProxy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

// Canned HTTP responses by request path; a path without one is never answered.
using Answers = QHash<QByteArray, QByteArray>;
Q_DECLARE_METATYPE(Answers)

namespace {

QByteArray http(const QByteArray &status, const QByteArray &body, const QByteArray &headers = QByteArray())
{
    return "HTTP/1.1 " + status + "\r\nContent-Length: " + QByteArray::number(body.size())
           + "\r\nConnection: close\r\n" + headers + "\r\n" + body;
}

QByteArray ok(const QByteArray &body) { return http("200 OK", body); }

QByteArray redirect(const QByteArray &to) { return http("302 Found", QByteArray(), "Location: " + to + "\r\n"); }

QByteArray document(const QByteArray &version, const QByteArray &space = "1", const QByteArray &inside = QByteArray())
{
    return "<update><app new_app_version=\"" + version + "\" disk_space_mb=\"" + space + "\">" + inside
           + "</app></update>";
}

// Serves the answers on 127.0.0.1 and notes the paths asked for, each once:
// Qt may send a redirected request again on a fresh connection.
struct CannedServer
{
    explicit CannedServer(const Answers &answers)
    {
        QObject::connect(&server, &QTcpServer::newConnection, [this, answers] {
            while (QTcpSocket *socket = server.nextPendingConnection()) {
                QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, answers, socket] {
                    const QByteArray request = socket->peek(socket->bytesAvailable());
                    if (!request.contains("\r\n\r\n"))
                        return;
                    socket->readAll();
                    ++requests;
                    const QByteArray path = request.split(' ').value(1);
                    if (!paths.contains(QLatin1String(path)))
                        paths << QLatin1String(path);
                    if (answers.contains(path)) {
                        socket->write(answers.value(path));
                        socket->disconnectFromHost();
                    }
                });
            }
        });
    }
    QTcpServer server;
    int requests = 0;
    QStringList paths;
};

// Declines every box, so a question never starts the tool, and notes what the boxes said.
struct BoxDecliner
{
    BoxDecliner()
    {
        QObject::connect(&timer, &QTimer::timeout, [this] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            titles << box->windowTitle();
            texts << box->text();
            plainText = plainText && box->textFormat() == Qt::PlainText;
            QAbstractButton *cancel = box->button(QMessageBox::Cancel);
            (cancel ? cancel : box->button(QMessageBox::Ok))->click();
        });
        timer.start(5);
    }
    QTimer timer;
    QStringList titles, texts;
    bool plainText = true;
};

} // namespace

class TestUpdateMgr : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void answerFromTheServer_data();
    void answerFromTheServer();
    void maintenanceTool_data();
    void maintenanceTool();
    void updateAddress_data();
    void updateAddress();

private:
    QTemporaryDir m_dir;
};

void TestUpdateMgr::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QCoreApplication::setApplicationVersion(QStringLiteral("1.5.0"));
    // The test server is on this machine; no proxy may stand in between.
    QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
}

void TestUpdateMgr::answerFromTheServer_data()
{
    QTest::addColumn<Answers>("answers");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<QStringList>("paths");
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("box");

    const QString offer = QStringLiteral("New application version");
    const QByteArray newer = document("1.6.0");
    const QStringList once{QStringLiteral("/version.xml")};
    const auto answer = [](const QByteArray &response) { return Answers{{"/version.xml", response}}; };

    QTest::newRow("newer version is offered") << answer(ok(newer)) << false << once << "1.6.0" << offer;
    QTest::newRow("same version is not") << answer(ok(document("1.5.0"))) << false << once << "1.5.0" << QString();
    QTest::newRow("1.10.0 is newer than 1.5.0") << answer(ok(document("1.10.0"))) << false << once << "1.10.0"
                                                << offer;
    QTest::newRow("more room needed than the volume has")
        << answer(ok(document("1.6.0", "999999999999"))) << false << once << "1.6.0" << "Not enough disk space";
    QTest::newRow("302 is followed") << Answers{{"/version.xml", redirect("/moved.xml")}, {"/moved.xml", ok(newer)}}
                                     << false << QStringList{"/version.xml", "/moved.xml"} << "1.6.0" << offer;
    QTest::newRow("fourth redirect is not followed")
        << Answers{{"/version.xml", redirect("/r1")}, {"/r1", redirect("/r2")}, {"/r2", redirect("/r3")},
                   {"/r3", redirect("/r4")}, {"/r4", ok(newer)}}
        << false << QStringList{"/version.xml", "/r1", "/r2", "/r3"} << QString() << QString();
    QTest::newRow("404 with a document") << answer(http("404 Not Found", newer)) << false << once << QString()
                                         << QString();
    QTest::newRow("body cut short of its length")
        << answer(ok(newer + "<!-- more -->").left(ok(newer).size())) << false << once << QString() << QString();
    QTest::newRow("oversized body")
        << answer(ok(document("1.6.0", "1", "<!--" + QByteArray(UpdateMgr::MaxAnswerBytes, ' ') + "-->"))) << false
        << once << QString() << QString();
    QTest::newRow("deep nesting")
        << answer(ok(document("1.6.0", "1", QByteArray("<n>").repeated(5000) + QByteArray("</n>").repeated(5000))))
        << false << once << QString() << QString();
    QTest::newRow("XML declaration and comments first")
        << answer(ok("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- answer -->\n<update>\n"
                     " <!-- newest --> <app new_app_version=\"1.6.0\"/></update>\n"))
        << false << once << "1.6.0" << offer;
    QTest::newRow("document type declaration")
        << answer(ok("<!DOCTYPE update [<!ENTITY v \"1.6.0\">]>" + document("&v;"))) << false << once << QString()
        << QString();
    QTest::newRow("markup in the version") << answer(ok(document("&lt;b&gt;9.0&lt;/b&gt;"))) << false << once
                                           << QString() << QString();
    QTest::newRow("refused connection") << Answers{} << true << QStringList() << QString() << QString();
    QTest::newRow("server that never answers") << Answers{} << false << once << QString() << QString();
}

void TestUpdateMgr::answerFromTheServer()
{
    QFETCH(Answers, answers);
    QFETCH(bool, refused);
    QFETCH(QStringList, paths);
    QFETCH(QString, version);
    QFETCH(QString, box);

    CannedServer server(answers);
    QVERIFY(server.server.listen(QHostAddress::LocalHost, 0));
    AppConfig config = AppConfig::forApplicationDirectory(m_dir.path());
    config.updateUrl = QUrl(QStringLiteral("http://127.0.0.1/version.xml"));
    config.updateUrl.setPort(server.server.serverPort());
    config.updateTimeoutMs = 500;
    if (refused) {
        // A port that was just free on loopback refuses the connection.
        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost, 0));
        config.updateUrl.setPort(closed.serverPort());
    }

    BoxDecliner boxes;
    UpdateMgr updates(nullptr, config);
    QSignalSpy finished(&updates, &UpdateMgr::checkFinished);
    QSignalSpy closing(&updates, &UpdateMgr::closeAppClicked);
    // A second start while the first is in flight must not ask again.
    updates.checkForAppUpdate();
    QVERIFY(finished.wait(10000));

    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished.at(0).at(0).toString(), version);
    QCOMPARE(server.paths, paths);
    if (paths.size() <= 1)
        QCOMPARE(server.requests, paths.size());
    QCOMPARE(boxes.titles, box.isEmpty() ? QStringList() : QStringList{box});
    QVERIFY(boxes.plainText);
    if (box == QLatin1String("New application version"))
        QVERIFY2(boxes.texts.constFirst().contains("(" + version + ")"), qPrintable(boxes.texts.constFirst()));
    QCOMPARE(closing.count(), 0);
}

void TestUpdateMgr::maintenanceTool_data()
{
    QTest::addColumn<bool>("present");

    QTest::newRow("present: started beside the program with --updater only") << true;
    QTest::newRow("missing: the user is told") << false;
}

void TestUpdateMgr::maintenanceTool()
{
    QFETCH(bool, present);

    QTemporaryDir programDir;
    QVERIFY(programDir.isValid());
    const AppConfig config = AppConfig::forApplicationDirectory(programDir.path());
    const QString record = programDir.filePath(QStringLiteral("started.txt"));
    if (present) {
        QFile tool(config.maintenanceTool);
        QVERIFY(tool.open(QIODevice::WriteOnly));
        tool.write("#!/bin/sh\nprintf '%s\\n' \"$PWD\" \"$@\" > started.tmp && mv started.tmp started.txt\n");
        tool.close();
        QVERIFY(tool.setPermissions(tool.permissions() | QFile::ExeOwner));
    }

    BoxDecliner boxes;
    UpdateMgr updates(nullptr, config);
    QSignalSpy closing(&updates, &UpdateMgr::closeAppClicked);
    updates.continueAppUpdate();

    QCOMPARE(closing.count(), present ? 1 : 0);
    if (!present) {
        QTRY_COMPARE(boxes.titles, QStringList{QStringLiteral("Error starting maintenancetool")});
        return;
    }
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(record), 10000);
    QFile file(record);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromLocal8Bit(file.readAll()),
             QDir(programDir.path()).canonicalPath() + QStringLiteral("\n--updater\n"));
    QVERIFY(boxes.titles.isEmpty());
}

void TestUpdateMgr::updateAddress_data()
{
    QTest::addColumn<bool>("set");
    QTest::addColumn<QByteArray>("environment");
    QTest::addColumn<QUrl>("url");

    QTest::newRow("the build's address when the variable is unset")
        << false << QByteArray() << QUrl(QStringLiteral("https://updates.example.org/version.xml"));
    QTest::newRow("set but empty turns it off") << true << QByteArray() << QUrl();
    QTest::newRow("the variable wins") << true << QByteArray("http://127.0.0.1:8080/version.xml")
                                       << QUrl(QStringLiteral("http://127.0.0.1:8080/version.xml"));
    QTest::newRow("a local file is no update address") << true << QByteArray("file:///etc/passwd") << QUrl();
}

void TestUpdateMgr::updateAddress()
{
    QFETCH(bool, set);
    QFETCH(QByteArray, environment);
    QFETCH(QUrl, url);

    const QString buildDefault = QStringLiteral("https://updates.example.org/version.xml");
    QCOMPARE(AppConfig::updateUrlFrom(set ? &environment : nullptr, buildDefault), url);
}

QTEST_MAIN(TestUpdateMgr)
#include "tst_updatemgr.moc"
