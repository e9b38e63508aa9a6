// Intrusive doubly linked list: nodes derive from aLink, an aList owns the nodes chained into it.
#pragma once

#include <cstddef>

class aLink {
public:
    aLink() = default;
    aLink(const aLink&) = delete;
    aLink& operator=(const aLink&) = delete;
    // Destroying a node does not unlink it; the owning list does that.
    virtual ~aLink() = default;

    aLink* prev = nullptr;
    aLink* next = nullptr;
};

class aList {
public:
    aList() = default;
    aList(const aList&) = delete;
    aList& operator=(const aList&) = delete;
    virtual ~aList();

    void pushFront(aLink* node);
    void pushBack(aLink* node);
    aLink* insertBefore(aLink* pos, aLink* node);
    aLink* insertAfter(aLink* pos, aLink* node);
    void unlink(aLink* node);
    void moveBefore(aLink* pos, aLink* node);
    void moveAfter(aLink* pos, aLink* node);
    void moveToFront(aLink* node);
    void moveToBack(aLink* node);
    void swapNodes(aLink* a, aLink* b);
    void remove(aLink* node);
    void clear();

    bool empty() const { return head == nullptr; }
    std::size_t count() const;

    aLink* head = nullptr;
    aLink* tail = nullptr;
};
