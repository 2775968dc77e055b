#include "AppNavigator.h"
#include "ClinicServerAdapter.h"
#include "QtPersianTexts.h"
#include "ServerStartup.h"
#include "SingleInstance.h"
#include "common/Clock.h"
#include "common/CommonTexts.h"
#include "common/ProgramFolder.h"
#include "common/QtDesktop.h"
#include "common/QtPrompts.h"
#include "datastore/Database.h"
#include "mainwindow/MainWindowTexts.h"

#include <QApplication>
#include <QFont>
#include <QThread>

#include <memory>
#include <optional>

namespace {
// The Persian typefaces the program was designed with, and the free ones that stand in for them.
void registerPersianFonts()
{
    QFont::insertSubstitution(QStringLiteral("B Nazanin"), QStringLiteral("Nazli"));
    QFont::insertSubstitution(QStringLiteral("B Titr"), QStringLiteral("Titr"));
    QFont font(QStringLiteral("B Nazanin"));
    font.setPointSize(11);
    QApplication::setFont(font);
}
// Reads every page of both database files beside the first window, which a large file would
// otherwise delay. A damaged file ends the program with the message before work is put into it.
class PageCheck final
{
public:
    PageCheck(const QString& folder, Prompts& prompts)
    {
        m_thread.reset(QThread::create([this, folder] {
            for (const Database::File file : {Database::File::Clinical, Database::File::Theme}) {
                if (Database::checkPages(folder, file) == Database::FileState::Damaged) {
                    m_damaged = file;
                    return;
                }
            }
        }));
        QObject::connect(m_thread.get(), &QThread::finished, qApp, [this, &prompts] {
            if (!m_damaged)
                return;
            prompts.message(QApplication::activeWindow(), CommonTexts::warningTitle,
                            Database::messageFor(Database::FileState::Damaged, *m_damaged),
                            Prompts::Icon::Exclamation, true);
            QApplication::exit(1);
        });
        m_thread->start(QThread::LowPriority);
    }
    ~PageCheck() { m_thread->wait(); }

private:
    std::unique_ptr<QThread> m_thread;
    std::optional<Database::File> m_damaged;
};

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    QApplication::setLayoutDirection(Qt::RightToLeft);
    registerPersianFonts();
    loadQtPersianTexts(app);

    QtPrompts prompts;
    QtDesktop desktop;
    SystemClock clock;
    const QString folder = programFolder();

    SingleInstance instance(folder);
    if (!instance.acquire()) {
        prompts.message(nullptr, MainWindowTexts::alreadyRunningTitle, MainWindowTexts::alreadyRunning,
                        Prompts::Icon::Information);
        return 0;
    }

    const Database::OpenResult databases =
        Database::openProgramDatabases(folder, Database::PageCheck::Separately);
    if (!databases.ok) {
        prompts.message(nullptr, CommonTexts::warningTitle, databases.message, Prompts::Icon::Exclamation,
                        true);
        return 1;
    }

    // With "use the server" kept in Server.ini the clinic's records are on its server.
    if (!startOnClinicServer(folder, *makeClinicServerActions(), prompts))
        return 0;

    AppContext context{folder, &prompts, &desktop, nullptr, &clock};
    AppNavigator navigator(context);
    navigator.start();
    PageCheck pageCheck(folder, prompts);
    return QApplication::exec();
}
