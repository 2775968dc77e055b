// The file-format libraries are opened by name at run time: a wrong name or a function the library
// does not have would otherwise surface only when a clinician first writes such a file.

#include "formatlibs/ReadStatLibrary.h"
#include "formatlibs/XlsxWriterLibrary.h"
#include "formatlibs/ZipLibrary.h"

#include <QtTest>

namespace {

// zlib, which every machine here has, with one function it has and one it has not.
struct PartlyMissingTable
{
    unsigned long (*crc32)(unsigned long, const unsigned char*, unsigned int) = nullptr;
    void (*absent)() = nullptr;
};

} // namespace

class LateLibraryTest : public QObject
{
    Q_OBJECT
private slots:
    void everyFormatLibraryOpensWithAllItsFunctions()
    {
        const ZipLibrary* zip = ZipLibrary::get();
        QVERIFY(zip);
        QVERIFY(XlsxWriterLibrary::get());
        QVERIFY(ReadStatLibrary::get());
        // Opened once: the same table each time.
        QCOMPARE(ZipLibrary::get(), zip);
        // And the functions are the library's own: a fresh error record says "no error".
        zip_error_t error;
        zip->zip_error_init(&error);
        QCOMPARE(error.zip_err, ZIP_ER_OK);
        zip->zip_error_fini(&error);
    }

    void aMissingLibraryOrFunctionGivesNoTable()
    {
        QVERIFY(!LateLibrary("libvelmora-no-such-library.so.1").isOpen());
        const auto resolveBoth = [](const LateLibrary& library, PartlyMissingTable& table, bool& complete) {
            complete = library.resolve("crc32", table.crc32) && complete;
            complete = library.resolve("velmora_no_such_function", table.absent) && complete;
        };
        QVERIFY(!loadLateLibraryOnce<PartlyMissingTable>("libz.so.1", resolveBoth));

        const LateLibrary zlib("libz.so.1");
        QVERIFY(zlib.isOpen());
        PartlyMissingTable table;
        QVERIFY(zlib.resolve("crc32", table.crc32));
        QCOMPARE(table.crc32(0, reinterpret_cast<const unsigned char*>("abc"), 3), 0x352441c2UL);
        QVERIFY(!zlib.resolve("velmora_no_such_function", table.absent));
    }
};

QTEST_GUILESS_MAIN(LateLibraryTest)
#include "LateLibraryTest.moc"
