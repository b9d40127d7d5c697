// The slot table lives in a data section that every process loading the
// program shares. GNU ld does not take the shared attribute from the source:
// the build marks the ".shared" section shared on the linked program.
#include "shell/desktop/window_slots.h"

#include "shell/desktop/screen_fit.h"

#if defined(_MSC_VER)
#pragma section(".shared", read, write, shared)
__declspec(allocate(".shared")) unsigned char slotTable[windowSlotCount] = {};
#else
__attribute__((section(".shared"))) unsigned char slotTable[windowSlotCount] = {};
#endif

namespace {

int heldSlot = -1;

}  // namespace

int AcquireWindowSlot(HANDLE mutex)
{
    WaitForSingleObject(mutex, INFINITE);
    const int slotNumber = TakeFirstFreeSlot(slotTable, &heldSlot);
    ReleaseMutex(mutex);
    return slotNumber;
}

void ReleaseWindowSlot(HANDLE mutex)
{
    WaitForSingleObject(mutex, INFINITE);
    FreeHeldSlot(slotTable, &heldSlot);
    ReleaseMutex(mutex);
}
