#pragma once

#include "ReportLayout.h"

#include <functional>

class Prompts;
class QWidget;

// The print preview every report is shown in: maximized, printing to any printer, and saving the
// report as a PDF file with one click for a clinic that has no printer.
namespace ReportPreview {

// Shows the report and waits until the preview is closed.
void show(QWidget* parent, const Report& report, Prompts& prompts);

// The preview's PDF command: asks for a file name, writes the PDF and says whether it was made.
// False when the user cancelled or the file could not be written.
bool savePdf(QWidget* parent, const Report& report, Prompts& prompts);

// While a handler is set, reports are handed to it instead of being shown, so that windows that
// print can be tested without a modal preview. An empty handler restores the preview.
void setHandlerForTests(std::function<void(const Report&)> handler);

} // namespace ReportPreview
