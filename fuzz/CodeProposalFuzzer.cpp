// The code proposed for a new subject after any last code, with any codes taken.
#include "FuzzSupport.h"
#include "common/NumericValue.h"
#include "mainwindow/CodeProposal.h"

#include <QRegularExpression>
#include <QSet>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    const QStringList lines = input.restAsUtf8().split(u'\n');
    const QString last = lines.front();
    const QSet<QString> taken(lines.cbegin(), lines.cend());
    int asked = 0;
    const QString proposal = proposeCode(last, [&](const QString& code) {
        ++asked;
        return taken.contains(code);
    });
    FUZZ_CHECK(asked <= taken.size() + 1, "each taken code is tried at most once");
    if (proposal.isEmpty())
        return 0;
    static const QRegularExpression plain(QStringLiteral("^-?[0-9]+(\\.[0-9]+)?$"));
    FUZZ_CHECK(plain.match(proposal).hasMatch(), "a plain decimal");
    FUZZ_CHECK(!taken.contains(proposal), "never a taken code");
    FUZZ_CHECK(numericValue(proposal) > numericValue(last), "above the last code");
    FUZZ_CHECK(decimalCodeText(numericValue(proposal)) == proposal, "written as codes are written");
    return 0;
}
