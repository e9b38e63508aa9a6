#include "data/aList.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A node that counts its deletions, so tests see what the list deleted.
struct Node : aLink {
    explicit Node(int v, int* deletions = nullptr) : value(v), deleted(deletions) {}
    ~Node() override
    {
        if (deleted)
            ++*deleted;
    }
    int value;
    int* deleted;
};

// Values read forward, checked against a backward walk: both directions must agree.
std::vector<int> chain(const aList& list)
{
    std::vector<int> forward;
    const aLink* last = nullptr;
    for (const aLink* n = list.head; n; n = n->next) {
        EXPECT_EQ(n->prev, last) << "prev does not point back";
        forward.push_back(static_cast<const Node*>(n)->value);
        last = n;
    }
    EXPECT_EQ(list.tail, last) << "following next from head does not reach tail";
    std::vector<int> backward;
    for (const aLink* n = list.tail; n; n = n->prev)
        backward.insert(backward.begin(), static_cast<const Node*>(n)->value);
    EXPECT_EQ(forward, backward);
    EXPECT_EQ(list.head == nullptr, list.tail == nullptr);
    return forward;
}

struct ListOf {
    explicit ListOf(std::initializer_list<int> values)
    {
        for (int v : values) {
            nodes.push_back(new Node(v, &deletions));
            list.pushBack(nodes.back());
        }
    }
    int deletions = 0;
    std::vector<Node*> nodes;
    aList list;
};

TEST(aList, PushAndInsertKeepBothDirections)
{
    ListOf l{2, 4};
    l.list.pushFront(new Node(1));
    l.list.insertBefore(l.nodes[1], new Node(3));
    l.list.insertAfter(l.nodes[1], new Node(5));  // after the tail: becomes the tail
    EXPECT_EQ(chain(l.list), (std::vector<int>{1, 2, 3, 4, 5}));
    aLink* front = l.list.insertBefore(l.list.head, new Node(0));
    EXPECT_EQ(front, l.list.head);
    EXPECT_EQ(chain(l.list), (std::vector<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(l.list.count(), 6u);
}

TEST(aList, UnlinkOnlyHeadAndTail)
{
    ListOf one{7};
    one.list.unlink(one.nodes[0]);
    EXPECT_TRUE(one.list.empty());
    EXPECT_EQ(chain(one.list), std::vector<int>{});
    delete one.nodes[0];  // unlink does not delete

    ListOf l{1, 2, 3};
    l.list.unlink(l.nodes[0]);
    EXPECT_EQ(l.list.head, l.nodes[1]);
    EXPECT_EQ(l.nodes[1]->prev, nullptr);
    l.list.unlink(l.nodes[2]);
    EXPECT_EQ(chain(l.list), std::vector<int>{2});
    EXPECT_EQ(l.deletions, 0);
    delete l.nodes[0];
    delete l.nodes[2];
}

TEST(aList, SwapNodesInEveryPosition)
{
    ListOf neighbours{1, 2, 3, 4};
    neighbours.list.swapNodes(neighbours.nodes[1], neighbours.nodes[2]);
    EXPECT_EQ(chain(neighbours.list), (std::vector<int>{1, 3, 2, 4}));
    neighbours.list.swapNodes(neighbours.nodes[1], neighbours.nodes[2]);  // back again, either order
    EXPECT_EQ(chain(neighbours.list), (std::vector<int>{1, 2, 3, 4}));

    ListOf ends{1, 2, 3, 4};
    ends.list.swapNodes(ends.nodes[0], ends.nodes[3]);
    EXPECT_EQ(chain(ends.list), (std::vector<int>{4, 2, 3, 1}));

    ListOf pair{1, 2};  // head and tail are neighbours
    pair.list.swapNodes(pair.nodes[1], pair.nodes[0]);
    EXPECT_EQ(chain(pair.list), (std::vector<int>{2, 1}));

    ListOf apart{1, 2, 3, 4, 5};
    apart.list.swapNodes(apart.nodes[0], apart.nodes[2]);
    EXPECT_EQ(chain(apart.list), (std::vector<int>{3, 2, 1, 4, 5}));
    apart.list.swapNodes(apart.nodes[1], apart.nodes[4]);
    EXPECT_EQ(chain(apart.list), (std::vector<int>{3, 5, 1, 4, 2}));
    apart.list.swapNodes(apart.nodes[3], apart.nodes[3]);
    EXPECT_EQ(chain(apart.list), (std::vector<int>{3, 5, 1, 4, 2}));
}

TEST(aList, MovesRelinkWithoutDeleting)
{
    ListOf l{1, 2, 3, 4};
    l.list.moveToFront(l.nodes[3]);
    EXPECT_EQ(chain(l.list), (std::vector<int>{4, 1, 2, 3}));
    l.list.moveToBack(l.nodes[3]);
    EXPECT_EQ(chain(l.list), (std::vector<int>{1, 2, 3, 4}));
    l.list.moveBefore(l.nodes[0], l.nodes[2]);
    EXPECT_EQ(chain(l.list), (std::vector<int>{3, 1, 2, 4}));
    l.list.moveAfter(l.nodes[3], l.nodes[2]);
    EXPECT_EQ(chain(l.list), (std::vector<int>{1, 2, 4, 3}));
    EXPECT_EQ(l.deletions, 0);
}

TEST(aList, RemoveClearAndDestructionDeleteEveryNode)
{
    int deletions = 0;
    {
        aList list;
        list.clear();  // empty: nothing to delete
        EXPECT_EQ(list.head, nullptr);
        EXPECT_EQ(list.tail, nullptr);
        for (int v = 0; v < 5; ++v)
            list.pushBack(new Node(v, &deletions));
        list.remove(list.head->next);
        EXPECT_EQ(deletions, 1);
        EXPECT_EQ(chain(list), (std::vector<int>{0, 2, 3, 4}));
        list.clear();
        EXPECT_EQ(deletions, 5);
        EXPECT_TRUE(list.empty());
        list.pushBack(new Node(9, &deletions));
    }
    EXPECT_EQ(deletions, 6);
}

}  // namespace
