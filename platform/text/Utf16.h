// The platform's wide text as bytes: UTF-16 little-endian, no byte-order mark. Files the
// system writes as wide text and string data in the registry use this form, whatever the
// size of wchar_t is here. All conversions between the two live in this file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Characters above U+FFFF become surrogate pairs. Lone surrogates in the input are kept as
// single code units, so that any UTF-16 text read in comes back out byte for byte.
std::string EncodeUtf16Le(std::wstring_view text);
void AppendUtf16Le(std::string& out, std::wstring_view text);

// Pairs of bytes to characters; surrogate pairs are joined, lone surrogates kept. An odd
// trailing byte is ignored.
std::wstring DecodeUtf16Le(const void* bytes, size_t size);
std::wstring DecodeUtf16Le(std::string_view bytes);
// The same from code units already in the machine's byte order.
std::wstring DecodeUtf16(std::u16string_view units);

// Number of UTF-16 code units the text takes (its length in platform characters).
size_t Utf16Length(std::wstring_view text);

// A registry string value's bytes: the text and one terminator, (length + 1) x 2 bytes.
std::vector<uint8_t> Utf16LeWithTerminator(std::wstring_view text);

// Reads a registry string from its data: the text up to the first terminator (or the end).
std::wstring Utf16LeUpToTerminator(const void* bytes, size_t size);
