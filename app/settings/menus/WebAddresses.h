#pragma once

// The publisher's pages that the help menu opens, and the release date the
// about box shows. Change them here when the publisher's site moves.
namespace web {

inline constexpr const char* kHomePage = "https://github.com/Vimo/libPDF";
inline constexpr const char* kForum = "https://github.com/Vimo/libPDF/discussions";
inline constexpr const char* kMaterials = "https://github.com/Vimo/libPDF/releases";
inline constexpr const char* kReleaseDate = "2026-12-10";

} // namespace web
