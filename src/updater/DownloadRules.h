#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

// The downloader's decisions as plain functions, so that they are tested without a network.
namespace DownloadRules {

// The name of the file an address names, or an empty text: the last path segment of an address
// that starts with "http://" in small letters, provided that segment has a "." before its last
// character. A "/" or "." in the last character of the address is not looked at.
QString GetFileName(const QString& url);

// The status of a reply's header text: its characters 10 to 12, the code of "HTTP/1.1 200 OK".
QString statusOf(const QString& headers);

// The failure text for a reply's header text, or nothing when the body is to be read
// (statuses 200 and 206). url is the requested address, named in the "not found" text.
std::optional<QString> statusFailure(const QString& headers, const QString& url);

// The first byte of a "Content-Range" value of the form "bytes FIRST-LAST/LENGTH" (LENGTH may be
// "*"); nothing for any other value, an absent one included, or for a range that ends before it
// starts.
std::optional<qint64> rangeStart(const QString& contentRange);

// The announced length of a "Content-Length" value: the number at the start of the text, rounded
// to the nearest whole byte; 0 when there is none. Nothing when the value is negative or too
// large to count in bytes.
std::optional<qint64> announcedLength(const QString& value);

// received × 100 / total as a whole number, halves going to the even neighbour (50.5 → 50,
// 51.5 → 52). Exact for any 64-bit size, so large packages never show a wrong or negative value.
qint64 percentOf(qint64 received, qint64 total);

} // namespace DownloadRules
