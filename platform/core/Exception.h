#pragma once
// The error classes of the platform. Every error the system raises derives
// from Exception, which carries a message and the class name that logs and
// message texts report ("the error's class name").

#include <cstdint>
#include <string>
#include <vector>

namespace qv {

class Exception {
 public:
  explicit Exception(std::string message) : message_(std::move(message)) {}
  virtual ~Exception() = default;
  Exception(const Exception&) = default;
  Exception& operator=(const Exception&) = default;

  const std::string& Message() const { return message_; }
  void SetMessage(std::string message) { message_ = std::move(message); }
  virtual const char* ClassName() const { return "Exception"; }

 private:
  std::string message_;
};

// Declares an error class that adds nothing but its name.
#define QV_DECLARE_EXCEPTION(Name, Base)                       \
  class Name : public Base {                                   \
   public:                                                     \
    using Base::Base;                                          \
    const char* ClassName() const override { return #Name; }   \
  };

QV_DECLARE_EXCEPTION(EConvertError, Exception)
QV_DECLARE_EXCEPTION(EVariantError, Exception)
QV_DECLARE_EXCEPTION(EOleError, Exception)
QV_DECLARE_EXCEPTION(EPropertyError, Exception)
QV_DECLARE_EXCEPTION(EComponentError, Exception)
QV_DECLARE_EXCEPTION(ERangeError, Exception)
QV_DECLARE_EXCEPTION(EInvalidOperation, Exception)
QV_DECLARE_EXCEPTION(EInvalidGraphic, Exception)
QV_DECLARE_EXCEPTION(LanguageControllerError, Exception)
// Input in a masked edit that its mask does not accept.
QV_DECLARE_EXCEPTION(EDBEditError, Exception)
// A data set or field used in a way its state does not allow, or a missing field.
QV_DECLARE_EXCEPTION(EDatabaseError, Exception)
// A middleware connection that cannot be made, times out, or breaks.
QV_DECLARE_EXCEPTION(ESocketError, Exception)

// An input or output failure with its error number.
class EInOutError : public Exception {
 public:
  EInOutError(std::string message, int errorCode)
      : Exception(std::move(message)), errorCode_(errorCode) {}
  const char* ClassName() const override { return "EInOutError"; }
  int ErrorCode() const { return errorCode_; }

 private:
  int errorCode_;
};

// A failed operating-system call with the system's error number.
class EOSError : public Exception {
 public:
  EOSError(std::string message, int errorCode)
      : Exception(std::move(message)), errorCode_(errorCode) {}
  const char* ClassName() const override { return "EOSError"; }
  int ErrorCode() const { return errorCode_; }

 private:
  int errorCode_;
};

// The older name of a system error, still raised by some callers.
class EWin32Error : public EOSError {
 public:
  using EOSError::EOSError;
  const char* ClassName() const override { return "EWin32Error"; }
};

// A database engine error with the engine's list of sub-errors.
class EDBEngineError : public Exception {
 public:
  struct SubError {
    std::uint16_t ErrorCode;
    std::string Message;
  };
  EDBEngineError(std::string message, std::vector<SubError> errors)
      : Exception(std::move(message)), errors_(std::move(errors)) {}
  const char* ClassName() const override { return "EDBEngineError"; }
  const std::vector<SubError>& Errors() const { return errors_; }

 private:
  std::vector<SubError> errors_;
};

}  // namespace qv
