#pragma once
// The system's own words for an error, in the language of the running locale,
// as the program passes them on in its messages.

#include <QString>

#include <cstring>

inline QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}
