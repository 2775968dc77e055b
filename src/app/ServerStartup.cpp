#include "ServerStartup.h"

#include "common/CommonTexts.h"
#include "common/Prompts.h"
#include "datastore/ServerSettings.h"
#include "mainwindow/ClinicServerActions.h"
#include "mainwindow/ClinicServerTexts.h"

namespace T = ClinicServerTexts;

bool startOnClinicServer(const QString& folder, ClinicServerActions& actions, Prompts& prompts,
                         const QString& pgpassPath)
{
    const std::optional<ServerSettings> settings = ServerSettingsFile::read(folder);
    if (!settings || !settings->inUse)
        return true;

    ClinicServer::Result result;
    std::optional<QString> password = ServerSettingsFile::passwordFromPgpass(*settings, pgpassPath);
    if (password->isEmpty())
        password = prompts.askPassword(nullptr, T::title,
                                       T::askPasswordPrompt.arg(settings->userName, settings->host));
    if (password)
        result = actions.useServer(folder, *settings, *password);
    else
        result.message = T::passwordNotGiven;
    if (result.ok)
        return true;

    if (!prompts.askYesNo(nullptr, CommonTexts::warningTitle, T::chooseAfterFailure.arg(result.message)))
        return false;
    // Whatever a failed attempt left behind, the session now works on the folder's own files. Their
    // pages are read beside the first window, as at every start: read here, a large file would
    // keep the window from opening for seconds.
    const ClinicServer::Result back = actions.useFolderFiles(folder, Database::PageCheck::Separately);
    if (!back.ok) {
        prompts.message(nullptr, CommonTexts::warningTitle, back.message, Prompts::Icon::Exclamation, true);
        return false;
    }
    return true;
}
