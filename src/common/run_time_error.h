#pragma once

#include <QString>
#include <exception>

namespace zarame {

// A failure that ends a procedure and travels to the handler placed for it: the run's general
// handler or the template builder's handler. It carries what the log line shows: a number and a
// Japanese description.
class RunTimeError : public std::exception {
public:
    RunTimeError(int number, QString description)
        : number_(number), description_(std::move(description)) {}

    int number() const { return number_; }
    const QString& description() const { return description_; }
    const char* what() const noexcept override { return "zarame run-time error"; }

private:
    int number_;
    QString description_;
};

// Overflow is not a file-system failure, so it has no errno of its own; 6 is the number that
// users of the classic runtime know for it.
inline constexpr int kOverflowErrorNumber = 6;

RunTimeError OverflowError();

// The cause of a file-system failure in Japanese, from its errno.
QString FileSystemCause(int errorNumber);

// A file-system failure: errno as the number, the cause in Japanese and the path involved.
RunTimeError FileSystemError(int errorNumber, const QString& path);

}  // namespace zarame
