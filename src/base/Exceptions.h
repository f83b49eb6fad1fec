#pragma once
// The exception family: every error carries the message the user sees.

#include <QString>

#include <cstdint>
#include <exception>
#include <string>

namespace vellum {

class Exception : public std::exception {
public:
    explicit Exception(QString message) : FMessage(std::move(message)), FUtf8(FMessage.toStdString()) {}
    const QString& Message() const noexcept { return FMessage; }
    const char* what() const noexcept override { return FUtf8.c_str(); }
    // The class name, as reports and tests name the kind of error.
    virtual const char* ClassName() const noexcept { return "Exception"; }

private:
    QString FMessage;
    std::string FUtf8;
};

// Name and Base are class names, which cannot stand in parentheses.
// NOLINTBEGIN(bugprone-macro-parentheses)
#define VELLUM_EXCEPTION(Name, Base)                                                                         \
    class Name : public Base {                                                                               \
    public:                                                                                                  \
        using Base::Base;                                                                                    \
        const char* ClassName() const noexcept override { return #Name; }                                    \
    };
// NOLINTEND(bugprone-macro-parentheses)

VELLUM_EXCEPTION(EConvertError, Exception)
VELLUM_EXCEPTION(EListError, Exception)
VELLUM_EXCEPTION(EComponentError, Exception)
VELLUM_EXCEPTION(EStreamError, Exception)
VELLUM_EXCEPTION(EReadError, EStreamError)
VELLUM_EXCEPTION(EWriteError, EStreamError)
VELLUM_EXCEPTION(EFCreateError, EStreamError)
VELLUM_EXCEPTION(EFOpenError, EStreamError)
VELLUM_EXCEPTION(EEncodingError, EConvertError)
VELLUM_EXCEPTION(EFilerError, EStreamError)
VELLUM_EXCEPTION(EClassNotFound, EFilerError)
VELLUM_EXCEPTION(EMacroString, Exception)
VELLUM_EXCEPTION(EPathUtil, Exception)
VELLUM_EXCEPTION(EIntegerList, Exception)
VELLUM_EXCEPTION(EStreamArray, Exception)
VELLUM_EXCEPTION(ECSVDataBase, Exception)
VELLUM_EXCEPTION(EImagePack, Exception)
VELLUM_EXCEPTION(EPCDError, Exception)
VELLUM_EXCEPTION(ETwain, Exception)
VELLUM_EXCEPTION(EInvalidGraphic, Exception)
VELLUM_EXCEPTION(EInvalidGraphicOperation, Exception)
VELLUM_EXCEPTION(EZCompressionError, Exception)
VELLUM_EXCEPTION(EZDecompressionError, Exception)
VELLUM_EXCEPTION(EPaperError, Exception)

// A failed compound-file operation, with the code of its kind (stg::k...).
class EOleSysError : public Exception {
public:
    EOleSysError(QString message, uint32_t errorCode)
        : Exception(std::move(message)), FErrorCode(errorCode) {}
    uint32_t ErrorCode() const noexcept { return FErrorCode; }
    const char* ClassName() const noexcept override { return "EOleSysError"; }

private:
    uint32_t FErrorCode;
};

// A compound file that does not follow the format; the message names what failed.
class ECompoundFile : public EOleSysError {
public:
    static constexpr uint32_t kDocfileCorrupt = 0x80030109u; // STG_E_DOCFILECORRUPT
    explicit ECompoundFile(QString message) : EOleSysError(std::move(message), kDocfileCorrupt) {}
    const char* ClassName() const noexcept override { return "ECompoundFile"; }
};

} // namespace vellum
