#pragma once

// Tags under which the engine reports to its owner. Data tags have six
// characters; the engine's own notifications have seven.
namespace ReplyTags {

inline constexpr const char* kDevice = "DEVICE";
inline constexpr const char* kCodeList = "COLIST";
inline constexpr const char* kJobList = "JBLIST";
inline constexpr const char* kFormatList = "FOLIST";
inline constexpr const char* kHalList = "HALIST";
inline constexpr const char* kValList = "VALIST";
inline constexpr const char* kData = "DATBAK";
inline constexpr const char* kJobRefresh = "JOBRFS";
inline constexpr const char* kCodeRefresh = "CODRFS";
inline constexpr const char* kHalRefresh = "HALRFS";
inline constexpr const char* kValRefresh = "VALRFS";
inline constexpr const char* kJobFirst = "JOBDEL";
inline constexpr const char* kCodeFirst = "CODDEL";
inline constexpr const char* kHalFirst = "HALDEL";
inline constexpr const char* kValFirst = "VALDEL";

// The connect script has read every list.
inline constexpr const char* kInitDone = "INICOMD";
// A script reached its end step.
inline constexpr const char* kTaskEnd = "TASKEND";
// One file line was sent during an upload.
inline constexpr const char* kProgress = "PROGRSA";
// A line longer than the receive buffer was dropped up to its line end.
inline constexpr const char* kOverrun = "OVERRUN";

// The instrument answered with an error ("@E" and its code, the data): the
// operation has ended without its script's end.
inline constexpr const char* kRefused = "REFUSED";

inline constexpr int kNotificationLength = 7;

} // namespace ReplyTags
