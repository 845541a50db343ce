#pragma once

#include <QString>
#include <exception>
#include <string>

// A KEY=VALUE pair a profile cannot take: not in that form, naming no setting, or holding a value
// its setting refuses. The message names the pair's key (or the pair itself).
class ProfileListingError : public std::exception {
  public:
    explicit ProfileListingError(QString message)
        : m_message(std::move(message)), m_what(m_message.toStdString()) {}

    QString message() const { return m_message; }
    const char* what() const noexcept override { return m_what.c_str(); }

  private:
    QString m_message;
    std::string m_what;
};
