#pragma once

#include <QImage>
#include <QString>

// The clinic's particulars as the prints carry them, read from the clinic profile at the
// moment of printing.
struct ClinicTexts
{
    QString name;
    QString address;
    QString contactLines; // each present contact line followed by CR LF
    QImage logo;          // null when there is no logo
    bool showLogo = false;
};
