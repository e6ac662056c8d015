#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

// What the program hands to the desktop: web links and the desktop's own
// mouse settings. The system launcher opens them; tests install a launcher
// of their own that records what would be opened.
class ShellLauncher
{
public:
    virtual ~ShellLauncher();
    // Opens a link in the user's default handler; false when none took it.
    virtual bool openUrl(const QUrl &url) = 0;
    // Starts a program detached from this one; false when it did not start.
    virtual bool startProgram(const QString &program, const QStringList &arguments) = 0;
    // The full path of an installed program, empty when it is not installed.
    virtual QString findProgram(const QString &name) const = 0;
};

namespace shell {

// The launcher in use: the system one unless a test installed another.
ShellLauncher &launcher();
// Installs a launcher (not owned); nullptr goes back to the system one.
void setLauncher(ShellLauncher *launcher);

// Only web and mail links leave the program: a link text from a data file
// must not run a local file or an arbitrary handler.
bool isSafeLink(const QUrl &url);
// Opens `url` when it is a safe link; false otherwise or when nothing
// opened it.
bool openUrl(const QUrl &url);

// A desktop settings tool and the arguments that open its mouse page.
struct SettingsTool
{
    QString program;
    QStringList arguments;
};
// The tools tried, in order: the first one installed is started.
QList<SettingsTool> mouseSettingsTools();
// Starts the desktop's mouse settings; false when no known tool is
// installed or the one found did not start.
bool openMouseSettings();

} // namespace shell
