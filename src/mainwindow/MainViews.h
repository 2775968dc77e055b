#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

class DataView;

// The six data views of the main window, opened again each time the window becomes active.
struct MainViews
{
    std::unique_ptr<DataView> theme;        // the clinic profile row of Theme.skn
    std::unique_ptr<DataView> registration; // IDE: holds a new subject row while registering
    std::unique_ptr<DataView> counting;     // IDE: counts and looks up subjects
    std::unique_ptr<DataView> answers;      // Answer
    std::unique_ptr<DataView> proposal;     // IDE: code proposal and duplicate test
    std::unique_ptr<DataView> questions;    // QU: the question editor

    MainViews();
    ~MainViews();

    // Opens the views the first time and reads them again afterwards, in the order
    // Theme, IDE, IDE, Answer, IDE, QU. The registration view is left alone while keepRegistration
    // is set, so that a pending new subject survives.
    void open(const QString& dataFolder, bool keepRegistration = false);
    bool isOpen() const { return theme != nullptr; }

    // True when IDE holds at least one row.
    bool hasSubjects() const;

    // A mark that changes whenever either file is written, through these views or by anyone else:
    // views read after the mark was taken need no reading again while it stays the same.
    QByteArray writeMark() const;
};
