// The words drawn into the windows' built-in pictures. The picture tool draws them and the
// windows tell them to assistive technology, which cannot read a picture.
#pragma once

namespace orvel::picturetexts {

inline constexpr char kMainTitle[] = "Printer Permanent Settings";
inline constexpr char kFeaturesTitle[] = "Varnet Orvel FEATURES";
inline constexpr char kBanner[] = "Please wait, while printer settings being applied.";

}  // namespace orvel::picturetexts
