#pragma once

#include <QString>

// What the panels of the main window ask of the window that holds them.
class PanelHost
{
public:
    virtual ~PanelHost() = default;

    // Hides the five panels, enables the registration command and, when IDE has rows, reads the
    // registration, counting and answer views again (a started new subject is dropped).
    virtual void closePanels() = 0;
    // The quiet-close flag: "1" closes the window without the exit dialog, "2" after each load.
    virtual void setQuietCloseFlag(const QString& value) = 0;
    // Shows the settings panel at its place.
    virtual void showSettingsPanel() = 0;
    // Opens the panels that the settings panel's buttons lead to.
    virtual void openClinicProfile() = 0;
    virtual void openThemeChooser() = 0;
    virtual void openQuestionEditor() = 0;
    // The clinic database window; the views are read again afterwards, from wherever they now are.
    virtual void openClinicServer() = 0;
    // Rebuilds the contact lines from the profile fields.
    virtual void rebuildContactLines() = 0;
    // Loads the logo file again and draws it in the logo box.
    virtual void reloadLogo() = 0;
    // The clinic name line follows the name field.
    virtual void showClinicName(const QString& name) = 0;
    // Enables or disables the registration command.
    virtual void setRegisterCommandEnabled(bool enabled) = 0;
};
