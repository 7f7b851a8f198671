#include "system/record_security_windows.h"

#include <aclapi.h>
#include <bcrypt.h>
#include <sddl.h>

#include <cwctype>

#include "system/error_text.h"
#include "system/wide_text_windows.h"

namespace brivana {

namespace {

constexpr SECURITY_INFORMATION kOwnerAndAccess = OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;

std::wstring SddlOf(PSECURITY_DESCRIPTOR descriptor, SECURITY_INFORMATION parts)
{
    LPWSTR text = nullptr;
    if (!ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor, SDDL_REVISION_1, parts, &text, nullptr))
        return {};
    std::wstring sddl = text;
    LocalFree(text);
    return sddl;
}

}  // namespace

std::string ServiceSid(const std::wstring& serviceName)
{
    // The SHA-1 of the name in capitals (UTF-16, least significant byte first), read as five
    // 32-bit numbers.
    std::wstring name = serviceName;
    for (wchar_t& c : name) c = static_cast<wchar_t>(std::towupper(c));
    unsigned char digest[20] = {};
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    BCRYPT_HASH_HANDLE hash = nullptr;
    bool hashed = BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA1_ALGORITHM, nullptr, 0) == 0 &&
                  BCryptCreateHash(algorithm, &hash, nullptr, 0, nullptr, 0, 0) == 0 &&
                  BCryptHashData(hash, reinterpret_cast<PUCHAR>(name.data()),
                                 static_cast<ULONG>(name.size() * sizeof(wchar_t)), 0) == 0 &&
                  BCryptFinishHash(hash, digest, sizeof digest, 0) == 0;
    if (hash) BCryptDestroyHash(hash);
    if (algorithm) BCryptCloseAlgorithmProvider(algorithm, 0);
    if (!hashed) return {};
    std::string sid = "S-1-5-80";
    for (int part = 0; part < 5; ++part) {
        unsigned long value = 0;
        for (int i = 3; i >= 0; --i) value = (value << 8) | digest[4 * part + i];
        sid.append("-").append(std::to_string(value));
    }
    return sid;
}

std::wstring RecordFolderSddl(const std::string& serviceSid)
{
    // Owner: the administrators. Protected: nothing inherited. Full control, passed on to files
    // and folders inside, for the system, the administrators and the service; listing and
    // traversing the folder itself (0x1200a9) for the built-in Users group.
    std::wstring sddl = L"O:BAD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;FA;;;";
    sddl.append(Wide(serviceSid)).append(L")(A;;0x1200a9;;;BU)");
    return sddl;
}

std::wstring RecordPipeSddl(const std::string& serviceSid)
{
    // Interactive users get read, write-data and synchronize (0x12008b): not FILE_APPEND_DATA,
    // which on a pipe means creating an instance, nor the right to change its attributes.
    const std::wstring service = Wide(serviceSid);
    std::wstring sddl = L"O:";
    sddl.append(service).append(L"D:P(A;;GA;;;SY)(A;;GA;;;BA)(A;;GA;;;").append(service).append(L")(A;;0x12008b;;;IU)");
    return sddl;
}

std::string SecureRecordFolder(const std::string& dir, const std::wstring& sddl)
{
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1, &descriptor, nullptr))
        return FileErrorText("proteggere", dir, static_cast<int>(GetLastError()));
    PSID owner = nullptr;
    PACL access = nullptr;
    BOOL present = FALSE;
    BOOL defaulted = FALSE;
    GetSecurityDescriptorOwner(descriptor, &owner, &defaulted);
    GetSecurityDescriptorDacl(descriptor, &present, &access, &defaulted);
    // Files made before, by players, lose their owner too: an owner may always change an access list.
    std::wstring path = Wide(dir);
    const DWORD error = TreeResetNamedSecurityInfoW(
        path.data(), SE_FILE_OBJECT, kOwnerAndAccess | PROTECTED_DACL_SECURITY_INFORMATION, owner, nullptr, access,
        nullptr, FALSE, nullptr, ProgressInvokeNever, nullptr);
    LocalFree(descriptor);
    return error == ERROR_SUCCESS ? std::string() : FileErrorText("proteggere", dir, static_cast<int>(error));
}

std::wstring SecurityOf(HANDLE handle)
{
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetSecurityInfo(handle, SE_KERNEL_OBJECT, kOwnerAndAccess, nullptr, nullptr, nullptr, nullptr,
                        &descriptor) != ERROR_SUCCESS)
        return {};
    std::wstring sddl = SddlOf(descriptor, kOwnerAndAccess);
    LocalFree(descriptor);
    return sddl;
}

std::wstring SecurityOf(const std::string& path)
{
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoW(Wide(path).c_str(), SE_FILE_OBJECT, kOwnerAndAccess, nullptr, nullptr, nullptr,
                              nullptr, &descriptor) != ERROR_SUCCESS)
        return {};
    std::wstring sddl = SddlOf(descriptor, kOwnerAndAccess);
    LocalFree(descriptor);
    return sddl;
}

std::string OwnerOf(HANDLE handle)
{
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    PSID owner = nullptr;
    if (GetSecurityInfo(handle, SE_KERNEL_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr, nullptr,
                        &descriptor) != ERROR_SUCCESS)
        return {};
    std::string sid;
    LPWSTR text = nullptr;
    if (owner && ConvertSidToStringSidW(owner, &text)) {
        sid = Utf8(text);
        LocalFree(text);
    }
    LocalFree(descriptor);
    return sid;
}

SecurityAttributes::SecurityAttributes(const std::wstring& sddl)
{
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1,
                                                              &attributes_.lpSecurityDescriptor, nullptr))
        attributes_.lpSecurityDescriptor = nullptr;
}

SecurityAttributes::~SecurityAttributes()
{
    if (attributes_.lpSecurityDescriptor) LocalFree(attributes_.lpSecurityDescriptor);
}

}  // namespace brivana
