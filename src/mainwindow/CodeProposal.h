#pragma once

#include <QString>

#include <functional>
#include <optional>

// The code proposed for a new subject: one above the numeric value of the last stored code, then
// one above every proposal that a stored row already uses as its exact text. No stored subject
// (no last code) gives an empty proposal, which the user must fill in.
//
// isTaken tells whether a stored row has exactly this text as its code. An empty result is also
// given when the number is too large to count on by one (the user types a code then).
QString proposeCode(const std::optional<QString>& lastStoredCode,
                    const std::function<bool(const QString&)>& isTaken);

// A numeric value written in decimal without leading zeros, as codes are written.
QString decimalCodeText(double value);
