#include "app/configini.h"

#include <QCoreApplication>
#include <QSet>

ConfigIni *ConfigIni::instance()
{
    // Created once, also when two threads ask at the same moment (a local
    // static is initialised under the compiler's own lock); never deleted.
    static ConfigIni *const store =
        new ConfigIni(QCoreApplication::applicationDirPath() + QStringLiteral("/usersetting/Config.ini"));
    return store;
}

ConfigIni::ConfigIni(const QString &path) : m_settings(path, QSettings::IniFormat), m_path(path)
{
    m_settings.setIniCodec("UTF-8");
}

bool ConfigIni::isCodedKey(const QString &key)
{
    static const QSet<QString> coded = {QStringLiteral("MM"),
                                        QStringLiteral("DM"),
                                        QStringLiteral("D2M"),
                                        QStringLiteral("D4M"),
                                        QStringLiteral("D8M"),
                                        QStringLiteral("Sensor"),
                                        QStringLiteral("CID"),
                                        QStringLiteral("VID"),
                                        QStringLiteral("USB_PID"),
                                        QStringLiteral("Wireless_PID"),
                                        QStringLiteral("Wireless2_PID"),
                                        QStringLiteral("Wireless4_PID"),
                                        QStringLiteral("Wireless8_PID")};
    return coded.contains(key);
}

QString ConfigIni::decode(const QString &coded)
{
    QString text = QString::fromUtf8(QByteArray::fromBase64(coded.toUtf8()));
    text.remove(QLatin1Char('\n'));
    text.remove(QLatin1Char(' '));
    return text;
}

namespace {
// A copy that shares no data with the QSettings cache, so the caller's
// thread never touches memory another thread may release.
QString ownCopy(const QString &text)
{
    return QString(text.constData(), text.size());
}
} // namespace

QString ConfigIni::value(const QString &group, const QString &key)
{
    QString text;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        const QVariant stored = m_settings.value(group + QLatin1Char('/') + key, QVariant());
        text = ownCopy(stored.toString());
    }
    if (m_decode && isCodedKey(key))
        text = decode(text);
    return text;
}

QStringList ConfigIni::valueList(const QString &group, const QString &key)
{
    QStringList list;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        const QVariant stored = m_settings.value(group + QLatin1Char('/') + key, QVariant());
        for (const QString &item : stored.toStringList())
            list << ownCopy(item);
    }
    if (m_decode && isCodedKey(key)) {
        for (QString &item : list)
            item = decode(item);
    }
    return list;
}

QString ConfigIni::valueListItem(const QString &group, const QString &key, int index, const QString &fallback)
{
    const QStringList list = valueList(group, key);
    return index >= 0 && index < list.size() ? list.at(index) : fallback;
}
