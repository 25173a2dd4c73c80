#pragma once

// Reads a fuzzer's bytes as the values a target needs: whole numbers, doubles, a locale and
// text. Running out of bytes gives zeros and empty text, so every input, however short, is a
// complete case.

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include <QLocale>
#include <QString>

class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), left_(size) {}

  std::uint8_t Byte() {
    if (left_ == 0) return 0;
    --left_;
    return *data_++;
  }

  std::uint16_t Word() {
    const std::uint16_t low = Byte();
    return static_cast<std::uint16_t>(low | (Byte() << 8));
  }

  // Any bit pattern: infinities, NaNs, subnormals and negative zero included.
  double Double() {
    std::uint64_t bits = 0;
    for (unsigned shift = 0; shift < 64; shift += 8) bits |= std::uint64_t{Byte()} << shift;
    return std::bit_cast<double>(bits);
  }

  // One of the locales a user's desktop may be set to, chosen to cover every decimal separator,
  // minus sign and digit system that reaches TextToValue and ValueToText.
  QLocale Locale() {
    static const std::array<const char*, 12> names{
        "C",     "en_US", "de_DE", "fr_FR", "sv_SE", "de_CH",
        "ar_EG", "fa_IR", "hi_IN", "ru_RU", "fi_FI", "he_IL"};
    return QLocale(QString::fromLatin1(names.at(Byte() % names.size())));
  }

  // Text of the given number of bytes read as UTF-8 (malformed sequences become U+FFFD).
  QString Text(std::size_t bytes) {
    bytes = std::min(bytes, left_);
    QString text = QString::fromUtf8(reinterpret_cast<const char*>(data_),
                                           static_cast<qsizetype>(bytes));
    data_ += bytes;
    left_ -= bytes;
    return text;
  }

  // All that is left.
  QString Rest() { return Text(left_); }

  [[nodiscard]] bool Empty() const { return left_ == 0; }

 private:
  const std::uint8_t* data_;
  std::size_t left_;
};

// A broken property is a finding: say which, and abort so the fuzzer keeps the input.
inline void Require(bool holds, const char* property, const QString& detail = QString()) {
  if (holds) return;
  std::fprintf(stderr, "property broken: %s\n  %s\n", property, qPrintable(detail));
  std::abort();
}
