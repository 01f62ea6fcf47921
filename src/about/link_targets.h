// The four link targets and the discussion-group line: the one place where they are kept.
// The addresses lie under the reserved example domains, so that they point at nobody's site.
#pragma once

#include "about/link_settings.h"

namespace xpboot {

inline constexpr COLORREF kLinkHoverColor = 0x00C56A31;

// The maker's home page.
inline constexpr LinkSettings kHomePageLink = {
    LinkTarget::WebAddress, 0x00FF00FF, 0x00000080, kLinkHoverColor, false, kLinkButtonFace,
    "", "http://www.example.com/xpboot/index.html"};
// Where new versions are published: a bare host name, the shell adds the scheme.
inline constexpr LinkSettings kUpdateLink = {
    LinkTarget::WebAddress, 0x00FF0000, 0x00000080, kLinkHoverColor, false, kLinkButtonFace,
    "", "www.example.org"};
// Error reports go by e-mail; the address is stored without "mailto:".
inline constexpr LinkSettings kErrorReportLink = {
    LinkTarget::EmailAddress, 0x00FF0000, 0x00000080, kLinkHoverColor, false, kLinkButtonFace,
    "bugs@example.com", ""};
// A shop item through which users can donate: a full address with scheme and query.
inline constexpr LinkSettings kDonateLink = {
    LinkTarget::WebAddress, 0x00FF0000, 0x00000080, kLinkHoverColor, false, kLinkButtonFace,
    "", "https://shop.example.com/item.htm?id=20130101&from=xpboot"};

inline constexpr const char* kDiscussionGroupText = "Win8交流群：271828";

}  // namespace xpboot
