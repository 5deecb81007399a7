#include "Sha256.h"

#include "Error.h"

#include <windows.h>
#include <bcrypt.h>

#include <algorithm>

namespace arc {
namespace {

void Check(NTSTATUS status) {
    if (status < 0)
        throw RuntimeError(kErrInternal, L"El sistema no pudo calcular una huella SHA-256 (estado " +
                                             std::to_wstring(status) + L").");
}

void* OpenAlgorithm() {
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    Check(BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0));
    return algorithm;
}

void CloseAlgorithm(void* algorithm) {
    if (algorithm) BCryptCloseAlgorithmProvider(static_cast<BCRYPT_ALG_HANDLE>(algorithm), 0);
}

void* NewHash(void* algorithm) {
    BCRYPT_HASH_HANDLE hash = nullptr;
    Check(BCryptCreateHash(static_cast<BCRYPT_ALG_HANDLE>(algorithm), &hash, nullptr, 0, nullptr, 0, 0));
    return hash;
}

void AddBytes(void* hash, std::string_view bytes) {
    // BCryptHashData takes at most 4 GiB at a time.
    while (!bytes.empty()) {
        const ULONG n = static_cast<ULONG>(std::min<size_t>(bytes.size(), 1u << 30));
        Check(BCryptHashData(static_cast<BCRYPT_HASH_HANDLE>(hash),
                             reinterpret_cast<PUCHAR>(const_cast<char*>(bytes.data())), n, 0));
        bytes.remove_prefix(n);
    }
}

std::string FinishHex(void* hash) {
    unsigned char digest[32];
    Check(BCryptFinishHash(static_cast<BCRYPT_HASH_HANDLE>(hash), digest, sizeof digest, 0));
    static const char kDigits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(64);
    for (unsigned char b : digest) {
        hex += kDigits[b >> 4];
        hex += kDigits[b & 15];
    }
    return hex;
}

}  // namespace

Sha256::Sha256() : algorithm_(OpenAlgorithm()) {}

Sha256::~Sha256() { CloseAlgorithm(algorithm_); }

std::string Sha256::Hex(std::string_view bytes) {
    void* hash = NewHash(algorithm_);
    try {
        AddBytes(hash, bytes);
        std::string hex = FinishHex(hash);
        BCryptDestroyHash(static_cast<BCRYPT_HASH_HANDLE>(hash));
        return hex;
    } catch (...) {
        BCryptDestroyHash(static_cast<BCRYPT_HASH_HANDLE>(hash));
        throw;
    }
}

Sha256::Stream::Stream() : algorithm_(OpenAlgorithm()) {
    try {
        hash_ = NewHash(algorithm_);
    } catch (...) {
        CloseAlgorithm(algorithm_);
        throw;
    }
}

Sha256::Stream::~Stream() {
    if (hash_) BCryptDestroyHash(static_cast<BCRYPT_HASH_HANDLE>(hash_));
    CloseAlgorithm(algorithm_);
}

void Sha256::Stream::Add(std::string_view bytes) { AddBytes(hash_, bytes); }

std::string Sha256::Stream::Hex() { return FinishHex(hash_); }

std::string Sha256Hex(std::string_view bytes) { return Sha256().Hex(bytes); }

}  // namespace arc
