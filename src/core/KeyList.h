#pragma once
// The row keys of a record set in statement order, addressed by position.
//
// Removing a key and finding the key at a position both cost O(log n) once anything
// was removed (O(1) before), so maintenance can delete thousands of records from a
// large set while walking it and results can be deleted one by one from the end.
// Removed keys keep their slot and are skipped by a count tree (a Fenwick tree of
// "still here" flags), built on the first removal.

#include <cstdint>
#include <vector>

namespace papyrant {

class KeyList {
public:
    using Key = std::int64_t;

    KeyList() = default;
    explicit KeyList(std::vector<Key> keys);

    int size() const { return static_cast<int>(m_keys.size()) - m_removed; }
    Key at(int position) const { return m_keys[slotAt(position)]; }
    void append(Key key);
    // The keys still here, in order.
    std::vector<Key> keys() const;
    void removeAt(int position);

    // A slot names one key for the life of the list, whatever is removed before it.
    int slotAt(int position) const;
    // The position of the key in the slot; -1 once it was removed.
    int positionOfSlot(int slot) const;
    int lastSlot() const { return static_cast<int>(m_keys.size()) - 1; }

private:
    int countBefore(int slot) const; // keys still here in the slots before this one
    void buildTree();

    std::vector<Key> m_keys;
    std::vector<bool> m_gone; // empty until the first removal, like the tree
    std::vector<int> m_tree; // 1-based: m_tree[i] counts the keys still here in (i - lowbit(i), i]
    int m_removed = 0;
};

} // namespace papyrant
