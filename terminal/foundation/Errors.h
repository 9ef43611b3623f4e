#pragma once

#include <QString>
#include <stdexcept>

// Failures of the database, the settings file, HTTP and files travel as exceptions
// that carry the layer's own message. The application's general error report shows
// what() of any of them in a message box.
class Error : public std::runtime_error {
public:
    explicit Error(const QString& message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString& message() const noexcept { return m_message; }

private:
    QString m_message;
};

class DbError : public Error {
public:
    using Error::Error;
};

class IniFileError : public Error {
public:
    using Error::Error;
};

class FileError : public Error {
public:
    using Error::Error;
};

// Ends an action silently: the message, if any, has already been shown.
// Not derived from std::exception so that no generic handler reports it.
struct Abort {};
