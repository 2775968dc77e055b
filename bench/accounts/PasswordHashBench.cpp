// How long one sign-in's password check takes with the program's Argon2id cost: it should be
// between 0.2 and 1 second on the clinic's computer, so that guessing is slow and signing in is not.

#include "BenchSupport.h"
#include "accounts/PasswordHash.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QString password = QStringLiteral("رمز عبور آزمایشی");
    const QString hash = PasswordHash::make(password);
    if (!hash.startsWith(QLatin1String("$argon2id$"))) {
        std::fprintf(stderr, "no hash was made\n");
        return 1;
    }
    const double make = BenchSupport::medianMilliseconds(5, [&](int) { (void)PasswordHash::make(password); });
    bool allRight = true;
    const double check = BenchSupport::medianMilliseconds(
        5, [&](int) { allRight = PasswordHash::matches(hash, password) && allRight; });
    std::printf("Argon2id, %llu passes over %llu MiB\n", PasswordHash::kOperations,
                PasswordHash::kMemoryBytes / (1024 * 1024));
    std::printf("new hash:       %8.1f ms (median of 5)\n", make);
    std::printf("password check: %8.1f ms (median of 5)  target 200 … 1000 ms: %s\n", check,
                check >= 200 && check <= 1000 ? "met" : "NOT met");
    return allRight && check >= 200 && check <= 1000 ? 0 : 2;
}
