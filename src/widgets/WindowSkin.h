#pragma once

#include <QString>

struct AppContext;
class QFrame;
class QRect;
class QWidget;

// Putting the numbered skins (datastore/Skins.h) on windows and their panels.
namespace Skins {

// Applies a skin number, read from the shared folder's skins, to a top-level window; the window's
// "skinNumber" property tells which skin it shows.
void apply(QWidget* window, const QString& sharedFolder, const QString& number);
// Reads the data folder's skin.txt and applies its skin; returns the number read (the window's
// current skin number).
QString applyCurrent(QWidget* window, const AppContext& context);

// Marks a frame as a panel, which the skins paint with their panel colours and border.
void markAsPanel(QFrame* frame, const QString& objectName);
// A new panel frame inside a window, placed at the given geometry.
QFrame* addPanel(QWidget* parent, const QString& objectName, const QRect& geometry);

} // namespace Skins
