#include "AccountRecovery.h"

#include "SingleInstance.h"
#include "accounts/AccountStore.h"
#include "accounts/AccountTexts.h"
#include "accounts/PasswordHash.h"
#include "common/CommonTexts.h"
#include "datastore/Database.h"
#include "mainwindow/MainWindowTexts.h"

#include <QByteArray>
#include <QString>

#include <cstring>
#include <termios.h>
#include <unistd.h>

namespace AccountRecovery {

namespace {

void say(std::FILE* out, const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), out);
    std::fflush(out);
}

// One line without its line end; echo is off while a password is typed on a terminal.
QString readLine(std::FILE* in, bool secret)
{
    const int fd = fileno(in);
    termios before{};
    const bool terminal = secret && isatty(fd) && tcgetattr(fd, &before) == 0;
    if (terminal) {
        termios quiet = before;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        tcsetattr(fd, TCSAFLUSH, &quiet);
    }
    QByteArray line;
    for (int c = std::fgetc(in); c != EOF && c != '\n'; c = std::fgetc(in))
        line.append(char(c));
    if (terminal)
        tcsetattr(fd, TCSAFLUSH, &before);
    if (line.endsWith('\r'))
        line.chop(1);
    const QString text = QString::fromUtf8(line);
    line.fill('\0');
    return text;
}

} // namespace

bool isAsked(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], option) == 0)
            return true;
    }
    return false;
}

int run(const QString& folder, std::FILE* in, std::FILE* out)
{
    say(out, AccountTexts::recoveryUsage + u'\n');
    SingleInstance instance(folder);
    if (!instance.acquire()) {
        say(out, MainWindowTexts::alreadyRunning + u'\n');
        return 2;
    }
    const Database::OpenResult opened = Database::openProgramDatabases(folder);
    if (!opened.ok) {
        say(out, AccountTexts::recoveryFilesUnusable + opened.message + u'\n');
        return 1;
    }
    say(out, AccountTexts::recoveryUserName);
    const QString name = AccountStore::cleanName(readLine(in, false));
    say(out, AccountTexts::recoveryPassword);
    const QString password = readLine(in, true);
    say(out, QStringLiteral("\n") + AccountTexts::recoveryRepeat);
    const QString repeat = readLine(in, true);
    say(out, QStringLiteral("\n"));
    QString refusal;
    if (name.isEmpty())
        refusal = AccountTexts::userNameInvalid;
    else if (password != repeat)
        refusal = AccountTexts::passwordsDiffer;
    else if (password.size() < 8)
        refusal = AccountTexts::passwordTooShort;
    AccountStore::Result stored{false, refusal};
    if (refusal.isEmpty()) {
        const QString hash = PasswordHash::make(password);
        stored = hash.isEmpty() ? AccountStore::Result{false, AccountTexts::accountNotStored}
                                : AccountStore::addAccount(folder, name, hash, Role::Administrator);
    }
    Database::closeProgramDatabases(folder);
    say(out, (stored.ok ? AccountTexts::recoveryDone : stored.message) + u'\n');
    return stored.ok ? 0 : 1;
}

} // namespace AccountRecovery
