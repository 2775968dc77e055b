#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// What every fuzzer shares: reading the input as a stream of choices and texts, a Qt application
// for the parts that need one, and a check that stops the run with a message a person can read.

// A property that must hold for every input; a broken one ends the run as a crash, which libFuzzer
// saves with the input that caused it.
#define FUZZ_CHECK(condition, what)                                                                          \
    do {                                                                                                     \
        if (!(condition)) {                                                                                  \
            std::fprintf(stderr, "fuzz check failed: %s (%s) at %s:%d\n", what, #condition, __FILE__,        \
                         __LINE__);                                                                          \
            std::abort();                                                                                    \
        }                                                                                                    \
    } while (false)

class FuzzInput
{
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    bool atEnd() const { return m_position >= m_size; }

    std::uint8_t byte() { return atEnd() ? 0 : m_data[m_position++]; }

    // A choice among count options.
    int choice(int count) { return count > 0 ? byte() % count : 0; }

    // A text of up to maxBytes bytes of UTF-16, which may hold lone surrogates, byte order marks
    // and NUL characters: anything a paste could bring.
    QString text(int maxBytes = 64)
    {
        const int units = maxBytes / 2 + 1;
        const int length = units > 256 ? value<std::uint16_t>() % units : choice(units);
        QString result;
        for (int i = 0; i < length && !atEnd(); ++i) {
            const char16_t high = byte();
            result += QChar(static_cast<char16_t>((high << 8) | byte()));
        }
        return result;
    }

    // The rest of the input, read as UTF-8 (invalid sequences become U+FFFD).
    QString restAsUtf8()
    {
        const QString result = QString::fromUtf8(reinterpret_cast<const char*>(m_data + m_position),
                                                 static_cast<qsizetype>(m_size - m_position));
        m_position = m_size;
        return result;
    }

    template <typename T> T value()
    {
        T result{};
        unsigned char bytes[sizeof(T)] = {};
        for (unsigned char& b : bytes)
            b = byte();
        std::memcpy(&result, bytes, sizeof(T));
        return result;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_position = 0;
};

// A core application for the whole run (the SQL driver is a plug-in, found through it).
inline void ensureApplication()
{
    static int argc = 1;
    static char name[] = "velmora-fuzz";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app = new QCoreApplication(argc, argv);
    (void)app;
}
