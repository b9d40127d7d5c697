// Finds, inflates, checks and installs the rules data image, and reports the
// two failures the user must see.
#include "data/rules_loader.h"

#include "data/rules_image.h"
#include "resources/shared/resource_ids.h"

namespace {

ImageAllocator imageAllocator = HeapImageAllocator();

void ShowLoadError(HWND owner, const TCHAR* message)
{
    MessageBox(owner, message, TEXT("Error!"), MB_OK);
}

// The resource's bytes, or null when the module does not carry it.
const unsigned char* FindRulesResource(HINSTANCE instance, DWORD* size)
{
    HRSRC found = FindResourceEx(instance, TEXT("DataFiles"), MAKEINTRESOURCE(IDR_RULES_DATA),
                                 MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    if (found == nullptr)
        return nullptr;
    HGLOBAL loaded = LoadResource(instance, found);
    if (loaded == nullptr)
        return nullptr;
    *size = SizeofResource(instance, found);
    return static_cast<const unsigned char*>(LockResource(loaded));
}

}  // namespace

void SetImageAllocator(const ImageAllocator& allocator) { imageAllocator = allocator; }

bool InstallRulesResource(const unsigned char* resource, std::size_t size, HWND owner)
{
    const InflatedImage inflated = InflateRulesImage(resource, size, imageAllocator);
    switch (inflated.status) {
    case InflateStatus::ready:
        SetRulesImage(inflated.block);
        return true;
    case InflateStatus::noMemory:
        ShowLoadError(owner, TEXT("There was an error allocating memory!"));
        return false;
    case InflateStatus::badData:
        break;
    }
    ShowLoadError(owner, TEXT("There was an error uncomressing the data!"));
    return false;
}

bool LoadRulesData(HINSTANCE instance, HWND owner)
{
    DWORD size = 0;
    const unsigned char* resource = FindRulesResource(instance, &size);
    // A module without the resource has no rules to show, which the user
    // learns the same way as for a damaged one.
    if (resource == nullptr)
        return InstallRulesResource(nullptr, 0, owner);
    return InstallRulesResource(resource, size, owner);
}
