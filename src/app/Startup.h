#pragma once

#include "SingleInstance.h"
#include "common/AppContext.h"
#include "common/BackgroundWork.h"

#include <QObject>
#include <QString>

#include <optional>

class AppNavigator;
class ClinicServerActions;
class QApplication;

// The start of the program, from the application object to the main window on the screen, in the
// order the steps run. Every step runs on the main thread, one after the other, but for the reads
// ahead of step 2 and the checks of step 3e, which run beside the window; none of them changes the
// environment.
//  1. setUpApplication: the program's name, right to left, the Persian typefaces and Qt's Persian
//     texts, before any window is made.
//  2. the constructor: the typefaces and the session bus, which the first picture waits for, start
//     to be read beside the window.
//  3. showMainWindow:
//     a. the single-instance lock: a second copy for the same data folder says so and ends,
//        before it has opened, let alone changed, the data files;
//     b. the data files, opened and brought to shape; a damaged or unreadable DABSH.skn offers the
//        backup window's restore, any other file that cannot be used ends the program with its
//        message;
//     c. the clinic server, when Server.ini says the clinic works on it;
//     d. the main window, shown;
//     e. once its first picture is on the display: every page of both files read beside the
//        window, and copies left by a backup, restore or export that was cut off removed.
class Startup final : public QObject
{
public:
    // The folder, prompts and desktop of `context` are those of the program; the navigator opens
    // the windows. Everything must outlive the event loop, as must this object, which holds the
    // lock and the work beside the window.
    Startup(const AppContext& context, AppNavigator& navigator, ClinicServerActions& clinicServer);
    ~Startup();

    static void setUpApplication(QApplication& application);

    // Steps a to d, and e once the first picture is shown. The exit code when the program must end
    // instead, with the user told why.
    std::optional<int> showMainWindow();

private:
    void readAheadForFirstPicture();
    bool isOnlyCopy();
    std::optional<int> openDataFiles();
    void afterFirstPicture();
    void checkPages();

    AppContext m_context;
    AppNavigator& m_navigator;
    ClinicServerActions& m_clinicServer;
    SingleInstance m_instance;
    bool m_afterFirstPictureStarted = false;
    BackgroundWork m_fontsReadAhead;
    BackgroundWork m_sessionBusReadAhead;
    BackgroundWork m_pageCheck;
    BackgroundWork m_sweep;
};
