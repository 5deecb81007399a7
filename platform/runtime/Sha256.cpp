#include "Sha256.h"

#include "Error.h"

#include <bcrypt.h>

#include <algorithm>

namespace arc {
namespace {

void Check(NTSTATUS status, const wchar_t* what) {
    if (status < 0)
        throw RuntimeError(static_cast<long>(status), std::wstring(L"El sistema no pudo calcular la huella SHA-256 (") +
                                                          what + L").");
}

}  // namespace

Sha256::Sha256() {
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    Check(BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0), L"algoritmo");
    algorithm_ = algorithm;
    BCRYPT_HASH_HANDLE hash = nullptr;
    const NTSTATUS status = BCryptCreateHash(algorithm, &hash, nullptr, 0, nullptr, 0, 0);
    if (status < 0) BCryptCloseAlgorithmProvider(algorithm, 0);
    Check(status, L"inicio");
    hash_ = hash;
}

Sha256::~Sha256() {
    if (hash_) BCryptDestroyHash(static_cast<BCRYPT_HASH_HANDLE>(hash_));
    if (algorithm_) BCryptCloseAlgorithmProvider(static_cast<BCRYPT_ALG_HANDLE>(algorithm_), 0);
}

void Sha256::Add(std::string_view bytes) {
    // BCryptHashData takes at most 4 GiB at a time.
    while (!bytes.empty()) {
        const ULONG n = static_cast<ULONG>(std::min<size_t>(bytes.size(), 1u << 30));
        Check(BCryptHashData(static_cast<BCRYPT_HASH_HANDLE>(hash_),
                             reinterpret_cast<PUCHAR>(const_cast<char*>(bytes.data())), n, 0),
              L"datos");
        bytes.remove_prefix(n);
    }
}

std::string Sha256::Hex() {
    UCHAR digest[32];
    Check(BCryptFinishHash(static_cast<BCRYPT_HASH_HANDLE>(hash_), digest, sizeof digest, 0), L"final");
    static const char kHex[] = "0123456789abcdef";
    std::string hex;
    for (UCHAR b : digest) {
        hex += kHex[b >> 4];
        hex += kHex[b & 15];
    }
    return hex;
}

std::string Sha256Hex(std::string_view bytes) {
    Sha256 hasher;
    hasher.Add(bytes);
    return hasher.Hex();
}

}  // namespace arc
