// The maker's contact details, printed on the features page and shown in the features window.
// The maker is invented: every value here is fictional.
#pragma once

#include <string>

namespace orvel::maker {

inline constexpr char kCompanyName[] = "Varnet Printing Systems Ltd.";
inline constexpr char kPostalAddress[] =
    "14 Fernhollow Lane, Brackwater Industrial Park, Eastmere 40417";
inline constexpr char kPhone[] = "+1 555 0142 7730";
inline constexpr char kFax[] = "+1 555 0142 7731";
inline constexpr char kEmail[] = "support@varnet-printing.example";
inline constexpr char kWebAddress[] = "www.varnet-printing.example";

}  // namespace orvel::maker
