#include "platform/fonts.h"

#include <QFont>
#include <QFontDatabase>

namespace fonts {

namespace {

// Stand-ins by kind: CJK-capable sans families for the Chinese UI fonts,
// metric-compatible Latin sans families for the Latin ones. Noto Sans CJK
// also carries Latin and Cyrillic, so it closes every list.
const char *const kCjkSans[] = {"Noto Sans CJK SC", "Source Han Sans SC", "WenQuanYi Micro Hei", "Droid Sans Fallback",
                                "DejaVu Sans"};
const char *const kLatinSans[] = {"Liberation Sans", "Arimo", "Nimbus Sans", "DejaVu Sans", "Noto Sans CJK SC"};

bool isCjkFamily(const QString &family)
{
    static const QStringList cjk = {
        QStringLiteral("微软雅黑"), QStringLiteral("Microsoft YaHei"), QStringLiteral("Microsoft YaHei UI"),
        QStringLiteral("宋体"),     QStringLiteral("SimSun"),          QStringLiteral("黑体"),
        QStringLiteral("SimHei"),   QStringLiteral("新宋体"),          QStringLiteral("NSimSun")};
    return cjk.contains(family, Qt::CaseInsensitive);
}

} // namespace

QStringList designFamilies()
{
    return {QStringLiteral("微软雅黑"), QStringLiteral("Microsoft YaHei"), QStringLiteral("Microsoft YaHei UI"),
            QStringLiteral("宋体"),     QStringLiteral("SimSun"),          QStringLiteral("黑体"),
            QStringLiteral("SimHei"),   QStringLiteral("新宋体"),          QStringLiteral("NSimSun"),
            QStringLiteral("Arial"),    QStringLiteral("Segoe UI"),        QStringLiteral("Tahoma"),
            QStringLiteral("Verdana"),  QStringLiteral("MS Shell Dlg 2")};
}

QStringList substitutesFor(const QString &family, const QStringList &installed)
{
    if (installed.contains(family, Qt::CaseInsensitive))
        return {};
    QStringList out;
    const auto add = [&](const char *const *list, size_t n) {
        for (size_t i = 0; i < n; ++i) {
            const QString candidate = QString::fromLatin1(list[i]);
            if (installed.contains(candidate, Qt::CaseInsensitive) && !out.contains(candidate))
                out << candidate;
        }
    };
    if (isCjkFamily(family))
        add(kCjkSans, sizeof kCjkSans / sizeof *kCjkSans);
    else
        add(kLatinSans, sizeof kLatinSans / sizeof *kLatinSans);
    return out;
}

void installSubstitutions()
{
    const QStringList installed = QFontDatabase().families();
    for (const QString &family : designFamilies()) {
        const QStringList subs = substitutesFor(family, installed);
        if (!subs.isEmpty())
            QFont::insertSubstitutions(family, subs);
    }
}

} // namespace fonts
