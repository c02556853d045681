// The grid library's own error kind.
#pragma once

#include <QString>

#include <stdexcept>

class EQrlGridError : public std::runtime_error
{
public:
    explicit EQrlGridError(const QString &message) : std::runtime_error(message.toStdString()) {}
};
