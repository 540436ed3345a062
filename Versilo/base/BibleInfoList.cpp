// VoBibleInfoList: building the list, the user's order and the look-ups.
#include "BibleInfoList.h"
#include "DataDirectories.h"
#include "MessageText.h"
#include "Registry.h"
#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <string>

namespace {

const char kOrderKey[] = "bibles\\Settings";
const char kOrderValue[] = "Order";

}  // namespace

VoBibleInfoList::VoBibleInfoList() {
    std::unique_ptr<char[][kListedNameSize]> names(new (std::nothrow) char[kMaxListedBibles][kListedNameSize]);
    if (!names) return;
    char directory[kDirectoryCapacity];
    int count = ScanDirectory(GetBiblesDirectory(directory), "vrsb", names.get(), kMaxListedBibles);
    records_.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        VoBibleInfo record;
        record.Load(names[i]);
        if (!record.GetShortName()[0]) continue;
        // Before the first record whose name is greater: equal names keep scan order.
        auto place = std::upper_bound(records_.begin(), records_.end(), record,
                                      [](const VoBibleInfo& a, const VoBibleInfo& b) {
                                          return lstrcmpiA(a.GetShortName(), b.GetShortName()) < 0;
                                      });
        records_.insert(place, record);
    }
    ReadOrder();
}

void VoBibleInfoList::ReadOrder() {
    order_.clear();
    std::vector<bool> placed(records_.size(), false);
    RegKey key;
    std::unique_ptr<char[]> text(new char[kOrderCapacity]);
    text[0] = '\0';
    if (OpenAppKey(key, HKEY_CURRENT_USER, kOrderKey, kAppKeyRead) == ERROR_SUCCESS &&
        ReadRegString(key.Get(), kOrderValue, text.get(), kOrderCapacity)) {
        char* piece = text.get();
        for (;;) {
            char* comma = std::strchr(piece, ',');
            if (comma) *comma = '\0';
            int found = FindByShortName(piece);
            if (found != End() && !placed[static_cast<size_t>(found)]) {
                placed[static_cast<size_t>(found)] = true;
                order_.push_back(found);
            }
            if (!comma) break;
            piece = comma + 1;
        }
    }
    for (int i = 0; i < GetCount(); ++i)
        if (!placed[static_cast<size_t>(i)]) order_.push_back(i);
}

bool VoBibleInfoList::SetOrder(const std::vector<int>& order) {
    if (order.size() != records_.size()) return false;
    std::vector<bool> seen(records_.size(), false);
    for (int i : order) {
        if (i < 0 || i >= GetCount() || seen[static_cast<size_t>(i)]) return false;
        seen[static_cast<size_t>(i)] = true;
    }
    order_ = order;
    return true;
}

int VoBibleInfoList::FindByShortName(const char* name) const {
    if (!name) return End();
    for (int i = 0; i < GetCount(); ++i)
        if (lstrcmpiA(records_[static_cast<size_t>(i)].GetShortName(), name) == 0) return i;
    return End();
}

int VoBibleInfoList::FindDefaultBible() {
    char name[kTextCapacity];
    int preferred = FindByShortName(LoadResString(name, kIdsDefaultBible));
    auto opens = [this](int i) {
        ComPtr<IBible> bible = ComPtr<IBible>::Attach(GetAt(i).GetBible());
        return static_cast<bool>(bible);
    };
    if (preferred != End() && opens(preferred)) return preferred;
    for (int i = 0; i < GetCount(); ++i)
        if (i != preferred && opens(i)) return i;
    return End();
}

void VoBibleInfoList::SaveOrder() const {
    std::string text;
    for (int i : order_) {
        const char* name = GetAt(i).GetShortName();
        size_t added = std::strlen(name) + (text.empty() ? 0 : 1);
        if (text.size() + added + 1 > static_cast<size_t>(kOrderCapacity)) break;
        if (!text.empty()) text += ',';
        text += name;
    }
    RegKey key;
    if (CreateUserAppKey(key, kOrderKey, kAppKeyReadWrite) != ERROR_SUCCESS) return;
    WriteRegString(key.Get(), kOrderValue, text.c_str());
}
