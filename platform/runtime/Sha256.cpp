#include "Sha256.h"

#include "Error.h"

#include <windows.h>
#include <bcrypt.h>

namespace arc {
namespace {

[[noreturn]] void Fail(NTSTATUS status) {
    throw RuntimeError(kErrInternal, L"SHA-256 is not available (status " + std::to_wstring(status) + L")");
}

}  // namespace

Sha256::Sha256() {
    BCRYPT_ALG_HANDLE h = nullptr;
    NTSTATUS status = BCryptOpenAlgorithmProvider(&h, BCRYPT_SHA256_ALGORITHM, nullptr, 0);
    if (status < 0) Fail(status);
    algorithm_ = h;
}

Sha256::~Sha256() {
    if (algorithm_) BCryptCloseAlgorithmProvider(static_cast<BCRYPT_ALG_HANDLE>(algorithm_), 0);
}

std::string Sha256::Hex(std::string_view bytes) {
    BCRYPT_HASH_HANDLE hash = nullptr;
    unsigned char digest[32];
    NTSTATUS status = BCryptCreateHash(static_cast<BCRYPT_ALG_HANDLE>(algorithm_), &hash, nullptr, 0, nullptr, 0, 0);
    if (status < 0) Fail(status);
    status = BCryptHashData(hash, reinterpret_cast<PUCHAR>(const_cast<char*>(bytes.data())),
                            static_cast<ULONG>(bytes.size()), 0);
    if (status >= 0) status = BCryptFinishHash(hash, digest, sizeof digest, 0);
    BCryptDestroyHash(hash);
    if (status < 0) Fail(status);
    static const char kDigits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(64);
    for (unsigned char b : digest) {
        hex += kDigits[b >> 4];
        hex += kDigits[b & 15];
    }
    return hex;
}

}  // namespace arc
