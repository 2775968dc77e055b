#pragma once

#include "common/AppContext.h"

#include <QDialog>

// The questionnaire introduction: the questionnaire's title and what each of its five needs
// means, in the current skin. The body scrolls when it does not fit; "خروج" or Esc closes it.
class Frmravansanji final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Frmravansanji)
public:
    explicit Frmravansanji(const AppContext& context, QWidget* parent = nullptr);
    ~Frmravansanji() override;

    // The body: the introductory paragraph and the five need paragraphs, a blank line between them.
    static QString bodyText();
};
