#include "convert/ShortcutText.h"

#include <unicode/ucnv.h>
#include <unicode/uidna.h>

#include <memory>

#include "platform/PrivateProfile.h"
#include "platform/TextCodec.h"
#include "platform/Utf8.h"

namespace quillet {

namespace {

struct ConverterClose {
  void operator()(UConverter* c) const { ucnv_close(c); }
};
using Converter = std::unique_ptr<UConverter, ConverterClose>;

Converter OpenUtf7() {
  UErrorCode status = U_ZERO_ERROR;
  Converter c(ucnv_open("UTF-7", &status));
  if (U_FAILURE(status)) return nullptr;
  return c;
}

std::string AsUtf8(std::string_view bytes) {
  if (IsValidUtf8(bytes)) return std::string(bytes);
  return Utf16ToUtf8(DecodeToUtf16(bytes, TextEncoding::Windows1252));
}

void PercentEncode(std::string& out, std::string_view utf8) {
  static const char kHex[] = "0123456789ABCDEF";
  for (char c : utf8) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x80) {
      out += c;
    } else {
      out += '%';
      out += kHex[b >> 4];
      out += kHex[b & 15];
    }
  }
}

// The host as IDNA gives it; nullopt when it is no valid name.
std::optional<std::string> HostToAscii(std::string_view host) {
  UErrorCode status = U_ZERO_ERROR;
  UIDNA* idna = uidna_openUTS46(UIDNA_NONTRANSITIONAL_TO_ASCII | UIDNA_CHECK_BIDI, &status);
  if (U_FAILURE(status)) return std::nullopt;
  std::string out(host.size() * 4 + 64, '\0');
  UIDNAInfo info = UIDNA_INFO_INITIALIZER;
  const int32_t n = uidna_nameToASCII_UTF8(idna, host.data(), static_cast<int32_t>(host.size()), out.data(),
                                           static_cast<int32_t>(out.size()), &info, &status);
  uidna_close(idna);
  if (U_FAILURE(status) || info.errors != 0 || n < 0) return std::nullopt;
  out.resize(static_cast<size_t>(n));
  return out;
}

}  // namespace

std::optional<std::string> Utf7ToUtf8(std::string_view utf7) {
  const Converter c = OpenUtf7();
  if (!c) return std::nullopt;
  UErrorCode status = U_ZERO_ERROR;
  ucnv_setToUCallBack(c.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
  std::u16string text(utf7.size() + 1, u'\0');
  const int32_t n = ucnv_toUChars(c.get(), text.data(), static_cast<int32_t>(text.size()), utf7.data(),
                                  static_cast<int32_t>(utf7.size()), &status);
  if (U_FAILURE(status) || n < 0) return std::nullopt;
  text.resize(static_cast<size_t>(n));
  return Utf16ToUtf8(text);
}

std::string Utf8ToUtf7(std::string_view utf8) {
  const Converter c = OpenUtf7();
  const std::u16string text = Utf8ToUtf16(utf8);
  if (!c) return std::string(utf8);
  UErrorCode status = U_ZERO_ERROR;
  std::string out(text.size() * 5 + 8, '\0');
  const int32_t n = ucnv_fromUChars(c.get(), out.data(), static_cast<int32_t>(out.size()),
                                    reinterpret_cast<const UChar*>(text.data()), static_cast<int32_t>(text.size()),
                                    &status);
  if (U_FAILURE(status) || n < 0) return std::string(utf8);
  out.resize(static_cast<size_t>(n));
  return out;
}

std::optional<ShortcutAddress> ShortcutAddressOfText(std::string_view bytes) {
  std::string decoded;
  bool unicode = false;
  if (bytes.starts_with("\xEF\xBB\xBF")) {
    bytes.remove_prefix(3);
    unicode = true;
  } else if (DecodedProfile text = DecodeProfileText(bytes); text.Bytes != ProfileBytes::AsTheyAre) {
    decoded = std::move(text.Text);
    bytes = decoded;
    unicode = true;
  }
  if (const auto wide = FindProfileValue(bytes, "InternetShortcut.W", "URL"); wide && !wide->empty())
    if (auto url = Utf7ToUtf8(*wide)) return ShortcutAddress{std::move(*url), true};
  if (auto url = FindProfileValue(bytes, "InternetShortcut", "URL")) return ShortcutAddress{std::move(*url), unicode};
  return std::nullopt;
}

std::optional<std::string> ShortcutUrlOfText(std::string_view bytes) {
  if (auto address = ShortcutAddressOfText(bytes)) return std::move(address->Text);
  return std::nullopt;
}

ShortcutUrls ShortcutUrlsFor(std::string_view address) {
  if (IsAscii(address)) return {std::string(address), std::nullopt};
  const std::string utf8 = AsUtf8(address);
  // scheme://[user@]host[:port] then the rest; no authority: all of it is rest.
  size_t hostBegin = std::string::npos, hostEnd = std::string::npos;
  if (const size_t slashes = utf8.find("://"); slashes != std::string::npos && slashes > 0) {
    const size_t authorityEnd = std::min(utf8.find_first_of("/?#", slashes + 3), utf8.size());
    hostBegin = slashes + 3;
    if (const size_t at = utf8.rfind('@', authorityEnd); at != std::string::npos && at >= hostBegin)
      hostBegin = at + 1;
    hostEnd = authorityEnd;
    const std::string_view authority = std::string_view(utf8).substr(hostBegin, authorityEnd - hostBegin);
    // A port follows the last colon, unless that colon is inside an IPv6 address.
    if (const size_t colon = authority.rfind(':');
        colon != std::string_view::npos && authority.find(']', colon) == std::string_view::npos)
      hostEnd = hostBegin + colon;
  }
  std::string ascii;
  if (hostBegin == std::string::npos) {
    PercentEncode(ascii, utf8);
  } else {
    // Scheme and user part are percent-encoded too: an address is any text a
    // page held, so nothing before the host is known to be ASCII.
    PercentEncode(ascii, std::string_view(utf8).substr(0, hostBegin));
    const std::string_view host = std::string_view(utf8).substr(hostBegin, hostEnd - hostBegin);
    if (const auto idna = IsAscii(host) ? std::optional<std::string>(host) : HostToAscii(host))
      ascii += *idna;
    else
      PercentEncode(ascii, host);
    PercentEncode(ascii, std::string_view(utf8).substr(hostEnd));
  }
  return {ascii, Utf8ToUtf7(utf8)};
}

}  // namespace quillet
