#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

#include <cstdint>

class QIODevice;
class XerProjectPlan;

// Writes a synthetic but realistic P6 XER export: the same seed and activity count always
// give the same bytes. Lines end in CR LF and text is UTF-8.
class XerGenerator {
public:
    XerGenerator(std::uint64_t seed, int activityCount);

    // Streams the file to an open device in pieces of about 1 MiB.
    bool write(QIODevice* out);
    QByteArray toByteArray();
    QString errorString() const { return m_error; }

private:
    void writeTables(const XerProjectPlan& plan);
    void table(const char* name, const char* fields);
    void row();
    void end();
    void f(const QByteArray& text);
    void f(const QString& text) { f(text.toUtf8()); }
    void f(const char* text);
    void f(qint64 value);
    void f(int value) { f(qint64(value)); }
    void f(double value);
    void empty(int count = 1);
    void date(int day, bool finish);
    void flush();

    std::uint64_t m_seed;
    int m_activityCount;
    QByteArray m_buffer;
    QIODevice* m_out = nullptr;
    QString m_error;
    int m_dateBase = 0;
    QVector<QByteArray> m_startDates;
    QVector<QByteArray> m_finishDates;
};
