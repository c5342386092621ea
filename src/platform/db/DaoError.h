#pragma once

// Error numbers of the database layer beyond the common ones of platform/RuntimeError.h,
// with the meanings the classic engine gave them.
namespace platform::err {
constexpr int InvalidProcedureCall = 5;
constexpr int Overflow = 6;
constexpr int OutOfMemory = 7;
constexpr int DivisionByZero = 11;
constexpr int OutOfStringSpace = 14;
constexpr int InvalidUseOfNull = 94;
constexpr int InvalidArgument = 3001;
constexpr int NoCurrentIndex = 3019;
constexpr int UpdateWithoutEdit = 3020;
constexpr int DiskFull = 3026;
constexpr int DiskError = 3043;
constexpr int FileInUse = 3045;
constexpr int NoReadPermission = 3051;
constexpr int NotUpdatable = 3027;
constexpr int CharactersAfterEnd = 3142;
constexpr int FindUnknownName = 3070;  // FindFirst: a name it does not know
constexpr int FindSyntaxError = 3077;  // FindFirst: a criterion it cannot read
constexpr int InputTableNotFound = 3078;
constexpr int UndefinedFunction = 3085;
constexpr int InvalidBookmark = 3159;
constexpr int FieldNotUpdatable = 3164;
constexpr int DatabaseExists = 3204;
constexpr int InvalidOperation = 3219;
constexpr int NotSupported = 3251;
constexpr int RecordLocked = 3260;
constexpr int ItemNotFound = 3265;
constexpr int NullNotAllowed = 3314;
constexpr int ValidationFailed = 3317;
constexpr int UnrecognizedFormat = 3343;
constexpr int ObjectInvalid = 3420;
constexpr int CriteriaTypeMismatch = 3464;
constexpr int SharedPasswordChange = 3621;
constexpr int NotAnIndex = 3800;
} // namespace platform::err
