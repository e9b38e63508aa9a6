#include "data/aList.h"

#include <utility>

aList::~aList() { clear(); }

void aList::pushFront(aLink* node)
{
    node->prev = nullptr;
    node->next = head;
    if (head)
        head->prev = node;
    else
        tail = node;
    head = node;
}

void aList::pushBack(aLink* node)
{
    node->next = nullptr;
    node->prev = tail;
    if (tail)
        tail->next = node;
    else
        head = node;
    tail = node;
}

aLink* aList::insertBefore(aLink* pos, aLink* node)
{
    node->next = pos;
    node->prev = pos->prev;
    if (pos->prev)
        pos->prev->next = node;
    else
        head = node;
    pos->prev = node;
    return node;
}

aLink* aList::insertAfter(aLink* pos, aLink* node)
{
    node->prev = pos;
    node->next = pos->next;
    if (pos->next)
        pos->next->prev = node;
    else
        tail = node;
    pos->next = node;
    return node;
}

void aList::unlink(aLink* node)
{
    if (node->prev)
        node->prev->next = node->next;
    else
        head = node->next;
    if (node->next)
        node->next->prev = node->prev;
    else
        tail = node->prev;
    node->prev = node->next = nullptr;
}

void aList::moveBefore(aLink* pos, aLink* node)
{
    if (pos == node)
        return;
    unlink(node);
    insertBefore(pos, node);
}

void aList::moveAfter(aLink* pos, aLink* node)
{
    if (pos == node)
        return;
    unlink(node);
    insertAfter(pos, node);
}

void aList::moveToFront(aLink* node)
{
    unlink(node);
    pushFront(node);
}

void aList::moveToBack(aLink* node)
{
    unlink(node);
    pushBack(node);
}

void aList::swapNodes(aLink* a, aLink* b)
{
    if (a == b)
        return;
    if (b->next == a)
        std::swap(a, b);
    if (a->next == b) {
        // Neighbours: take b out and put it back in front of a.
        unlink(b);
        insertBefore(a, b);
        return;
    }
    // Apart: remember each node's successor (never the other node), move both.
    aLink* afterA = a->next;
    aLink* afterB = b->next;
    unlink(a);
    unlink(b);
    if (afterB)
        insertBefore(afterB, a);
    else
        pushBack(a);
    if (afterA)
        insertBefore(afterA, b);
    else
        pushBack(b);
}

void aList::remove(aLink* node)
{
    unlink(node);
    delete node;
}

void aList::clear()
{
    aLink* node = head;
    while (node) {
        aLink* following = node->next;
        delete node;
        node = following;
    }
    head = tail = nullptr;
}

std::size_t aList::count() const
{
    std::size_t n = 0;
    for (const aLink* node = head; node; node = node->next)
        ++n;
    return n;
}
