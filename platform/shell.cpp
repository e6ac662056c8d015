#include "platform/shell.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>

ShellLauncher::~ShellLauncher() = default;

namespace {

class SystemLauncher : public ShellLauncher
{
public:
    bool openUrl(const QUrl &url) override { return QDesktopServices::openUrl(url); }
    bool startProgram(const QString &program, const QStringList &arguments) override
    {
        return QProcess::startDetached(program, arguments);
    }
    QString findProgram(const QString &name) const override { return QStandardPaths::findExecutable(name); }
};

ShellLauncher *installed = nullptr;

} // namespace

namespace shell {

ShellLauncher &launcher()
{
    static SystemLauncher system;
    return installed ? *installed : system;
}

void setLauncher(ShellLauncher *launcher)
{
    installed = launcher;
}

bool isSafeLink(const QUrl &url)
{
    const QString scheme = url.scheme().toLower();
    if (!url.isValid())
        return false;
    if (scheme == QLatin1String("mailto"))
        return !url.path().isEmpty();
    return (scheme == QLatin1String("http") || scheme == QLatin1String("https")) && !url.host().isEmpty();
}

bool openUrl(const QUrl &url)
{
    return isSafeLink(url) && launcher().openUrl(url);
}

QList<SettingsTool> mouseSettingsTools()
{
    return {
        {QStringLiteral("gnome-control-center"), {QStringLiteral("mouse")}},
        {QStringLiteral("systemsettings"), {QStringLiteral("kcm_mouse")}},
        {QStringLiteral("systemsettings5"), {QStringLiteral("kcm_mouse")}},
        {QStringLiteral("kcmshell5"), {QStringLiteral("kcm_mouse")}},
        {QStringLiteral("cinnamon-settings"), {QStringLiteral("mouse")}},
        {QStringLiteral("xfce4-mouse-settings"), {}},
        {QStringLiteral("mate-mouse-properties"), {}},
        {QStringLiteral("lxqt-config-input"), {}},
        {QStringLiteral("lxinput"), {}},
    };
}

bool openMouseSettings()
{
    ShellLauncher &use = launcher();
    for (const SettingsTool &tool : mouseSettingsTools()) {
        const QString path = use.findProgram(tool.program);
        if (!path.isEmpty())
            return use.startProgram(path, tool.arguments);
    }
    return false;
}

} // namespace shell
