#pragma once

#include <QString>
#include <exception>

// A conversion that cannot go on; `message()` is the text the user sees, naming the file.
class ConversionError : public std::exception {
  public:
    explicit ConversionError(QString message) : m_message(std::move(message)) {}

    const QString& message() const { return m_message; }
    const char* what() const noexcept override { return "conversion failed"; }

  private:
    QString m_message;
};
