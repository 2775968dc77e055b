// The skin number: whatever skin.txt holds, a shipped skin is applied, and it is the one named
// only when the file names it plainly.
#include "FuzzSupport.h"
#include "datastore/Skins.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {
// A program folder whose skin n holds the text "skin n".
const QString& programFolder()
{
    static QTemporaryDir* folder = [] {
        auto* dir = new QTemporaryDir;
        QDir().mkpath(Skins::skinFolder(dir->path()));
        for (int n = Skins::kFirst; n <= Skins::kLast; ++n) {
            QFile file(Skins::skinFilePath(dir->path(), QString::number(n)));
            if (!file.open(QIODevice::WriteOnly) || file.write(QStringLiteral("skin %1").arg(n).toUtf8()) < 0)
                std::abort();
        }
        return dir;
    }();
    static const QString path = folder->path();
    return path;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ensureApplication();
    const QString& folder = programFolder();
    {
        QFile file(Skins::numberFilePath(folder));
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "skin.txt can be written");
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    const QString number = Skins::readCurrentNumber(folder);
    FUZZ_CHECK(!number.contains(u'\n') && !number.contains(u'\r'), "one line only");

    int applied = 0;
    const QString styleSheet = Skins::styleSheetFor(folder, number, &applied);
    FUZZ_CHECK(applied >= Skins::kFirst && applied <= Skins::kLast, "a shipped skin");
    FUZZ_CHECK(styleSheet == QStringLiteral("skin %1").arg(applied), "the style sheet of the skin applied");
    static const QRegularExpression plain(QStringLiteral("^[1-9][0-9]?$"));
    const bool named = plain.match(number).hasMatch() && number.toInt() <= Skins::kLast;
    FUZZ_CHECK(applied == (named ? number.toInt() : Skins::kFirst), "the skin named, or skin 1");

    // What the theme chooser writes is read back as written.
    if (named) {
        FUZZ_CHECK(Skins::writeCurrentNumber(folder, number), "skin.txt is written");
        FUZZ_CHECK(Skins::readCurrentNumber(folder) == number, "the number reads back");
    }
    return 0;
}
