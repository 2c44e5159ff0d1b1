#include "launcher/ui/dui_manager.h"

#include "duilib/paint_manager.h"

namespace {

class Lock {
public:
    explicit Lock(CRITICAL_SECTION& cs) : cs_(cs) { EnterCriticalSection(&cs_); }
    ~Lock() { LeaveCriticalSection(&cs_); }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

private:
    CRITICAL_SECTION& cs_;
};

std::unique_ptr<DuiBase> MakeWrapper(int kind) {
    switch (kind) {
        case kDuiCombobox: return std::make_unique<DuiCombobox>();
        case kDuiCheckbox: return std::make_unique<DuiCheckbox>();
        default: return std::make_unique<DuiButton>();
    }
}

}  // namespace

DuiManager::DuiManager() { InitializeCriticalSection(&lock_); }

DuiManager::~DuiManager() {
    {
        Lock lock(lock_);
        wrappers_.clear();
    }
    DeleteCriticalSection(&lock_);
}

void DuiManager::SetPaintManager(CPaintManagerUI* manager) {
    Lock lock(lock_);
    manager_ = manager;
}

bool DuiManager::Register(int identifier, const wchar_t* name) {
    CPaintManagerUI* manager = nullptr;
    {
        Lock lock(lock_);
        manager = manager_;
    }
    if (!manager || !name) return false;
    CControlUI* control = manager->FindControl(name);
    if (!control) return false;
    std::unique_ptr<DuiBase> wrapper = MakeWrapper(WrapperKindForIdentifier(identifier));
    wrapper->identifier = identifier;
    wrapper->name = name;
    wrapper->control = control;
    wrapper->Initialise();
    Lock lock(lock_);
    wrappers_[identifier] = std::move(wrapper);
    return true;
}

DuiBase* DuiManager::Lookup(int identifier) {
    Lock lock(lock_);
    auto it = wrappers_.find(identifier);
    return it == wrappers_.end() ? nullptr : it->second.get();
}

void DuiManager::Clear() {
    Lock lock(lock_);
    wrappers_.clear();
    manager_ = nullptr;
}

void ClearStartupChecks(DuiManager& wrappers) {
    for (int identifier = 19; identifier <= 23; ++identifier) {
        if (auto* box = dynamic_cast<DuiCheckbox*>(wrappers.Lookup(identifier))) box->SetCheck(false);
    }
}
