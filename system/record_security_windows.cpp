#include "system/record_security_windows.h"

#include <aclapi.h>
#include <bcrypt.h>
#include <sddl.h>

#include <cstdlib>
#include <cwctype>
#include <vector>

#include "system/error_text.h"
#include "system/owned_handle_windows.h"
#include "system/wide_text_windows.h"

namespace brivana {

namespace {

constexpr SECURITY_INFORMATION kOwnerAndAccess = OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;

void CloseAlgorithm(BCRYPT_ALG_HANDLE algorithm) { BCryptCloseAlgorithmProvider(algorithm, 0); }
using OwnedAlgorithm = Owned<BCRYPT_ALG_HANDLE, CloseAlgorithm>;
using OwnedHash = Owned<BCRYPT_HASH_HANDLE, BCryptDestroyHash>;

std::wstring SddlOf(PSECURITY_DESCRIPTOR descriptor, SECURITY_INFORMATION parts)
{
    LPWSTR text = nullptr;
    if (!ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor, SDDL_REVISION_1, parts, &text, nullptr))
        return {};
    return OwnedLocal<LPWSTR>(text).get();
}

// The security descriptor an SDDL text describes; empty when it does not convert.
OwnedLocal<PSECURITY_DESCRIPTOR> DescriptorOf(const std::wstring& sddl)
{
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1, &descriptor, nullptr))
        return {};
    return OwnedLocal<PSECURITY_DESCRIPTOR>(descriptor);
}

}  // namespace

std::string ServiceSid(const std::wstring& serviceName)
{
    // The SHA-1 of the name in capitals (UTF-16, least significant byte first), read as five
    // 32-bit numbers.
    std::wstring name = serviceName;
    for (wchar_t& c : name) c = static_cast<wchar_t>(std::towupper(c));
    unsigned char digest[20] = {};
    BCRYPT_ALG_HANDLE opened = nullptr;
    if (BCryptOpenAlgorithmProvider(&opened, BCRYPT_SHA1_ALGORITHM, nullptr, 0) != 0) return {};
    const OwnedAlgorithm algorithm(opened);
    BCRYPT_HASH_HANDLE created = nullptr;
    if (BCryptCreateHash(algorithm.get(), &created, nullptr, 0, nullptr, 0, 0) != 0) return {};
    const OwnedHash hash(created);
    if (BCryptHashData(hash.get(), reinterpret_cast<PUCHAR>(name.data()),
                       static_cast<ULONG>(name.size() * sizeof(wchar_t)), 0) != 0 ||
        BCryptFinishHash(hash.get(), digest, sizeof digest, 0) != 0)
        return {};
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
    // Owner: the administrators.
    return L"O:BA" + RecordFolderAccessSddl(serviceSid);
}

std::wstring RecordFolderAccessSddl(const std::string& serviceSid)
{
    // Protected: nothing inherited. Full control, passed on to files and folders inside, for the
    // system, the administrators and the service; listing and traversing the folder itself
    // (0x1200a9) for the built-in Users group.
    std::wstring sddl = L"D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;FA;;;";
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
    const OwnedLocal<PSECURITY_DESCRIPTOR> descriptor = DescriptorOf(sddl);
    if (!descriptor) return FileErrorText("proteggere", dir, static_cast<int>(GetLastError()));
    PSID owner = nullptr;
    PACL access = nullptr;
    BOOL present = FALSE;
    BOOL defaulted = FALSE;
    GetSecurityDescriptorOwner(descriptor.get(), &owner, &defaulted);
    GetSecurityDescriptorDacl(descriptor.get(), &present, &access, &defaulted);
    // Files made before, by players, lose their owner too: an owner may always change an access list.
    const SECURITY_INFORMATION parts =
        (owner ? kOwnerAndAccess : DACL_SECURITY_INFORMATION) | PROTECTED_DACL_SECURITY_INFORMATION;
    std::wstring path = Wide(dir);
    const DWORD error = TreeResetNamedSecurityInfoW(path.data(), SE_FILE_OBJECT, parts, owner, nullptr, access,
                                                    nullptr, FALSE, nullptr, ProgressInvokeNever, nullptr);
    return error == ERROR_SUCCESS ? std::string() : FileErrorText("proteggere", dir, static_cast<int>(error));
}

std::wstring SecurityOf(HANDLE handle)
{
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetSecurityInfo(handle, SE_KERNEL_OBJECT, kOwnerAndAccess, nullptr, nullptr, nullptr, nullptr,
                        &descriptor) != ERROR_SUCCESS)
        return {};
    return SddlOf(OwnedLocal<PSECURITY_DESCRIPTOR>(descriptor).get(), kOwnerAndAccess);
}

std::wstring SecurityOf(const std::string& path)
{
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoW(Wide(path).c_str(), SE_FILE_OBJECT, kOwnerAndAccess, nullptr, nullptr, nullptr,
                              nullptr, &descriptor) != ERROR_SUCCESS)
        return {};
    return SddlOf(OwnedLocal<PSECURITY_DESCRIPTOR>(descriptor).get(), kOwnerAndAccess);
}

std::string OwnerOf(HANDLE handle)
{
    PSECURITY_DESCRIPTOR found = nullptr;
    PSID owner = nullptr;
    if (GetSecurityInfo(handle, SE_KERNEL_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr, nullptr,
                        &found) != ERROR_SUCCESS)
        return {};
    const OwnedLocal<PSECURITY_DESCRIPTOR> descriptor(found);  // owner points into it
    LPWSTR text = nullptr;
    if (!owner || !ConvertSidToStringSidW(owner, &text)) return {};
    return Utf8(OwnedLocal<LPWSTR>(text).get());
}

std::string PipeClientUser(HANDLE connected)
{
    // Identification is all the game allows and all this needs: it takes no privilege.
    if (!ImpersonateNamedPipeClient(connected)) return {};
    HANDLE opened = nullptr;
    const bool gotToken = OpenThreadToken(GetCurrentThread(), TOKEN_QUERY, TRUE, &opened);
    // A thread that cannot be the service again must run nothing more.
    if (!RevertToSelf()) std::abort();
    if (!gotToken) return {};
    const OwnedKernel token(opened);
    DWORD size = 0;
    GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
    std::vector<unsigned char> user(size);
    if (size == 0 || !GetTokenInformation(token.get(), TokenUser, user.data(), size, &size)) return {};
    LPWSTR text = nullptr;
    if (!ConvertSidToStringSidW(reinterpret_cast<const TOKEN_USER*>(user.data())->User.Sid, &text)) return {};
    return Utf8(OwnedLocal<LPWSTR>(text).get());
}

SecurityAttributes::SecurityAttributes(const std::wstring& sddl) : descriptor_(DescriptorOf(sddl))
{
    attributes_.lpSecurityDescriptor = descriptor_.get();
}

}  // namespace brivana
