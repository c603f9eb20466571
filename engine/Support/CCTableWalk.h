#pragma once
// Walking a uthash table by its links, from outside the table.

// The entry after this one in the table's order.
template <class E> E* ccTableNext(const E* entry) { return static_cast<E*>(entry->hh.next); }

// A walk whose calls may drop entries (a released target's destructor may unregister another):
// where it goes next. It registers itself with the table's owner for its lifetime; before the
// owner unlinks an entry it calls dropping(), which moves every walk about to go to that entry
// on to the one after it.
template <class E> class CCTableWalk {
public:
// GCC sees a local walk's address stored in the owner and not that the destructor takes it out.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdangling-pointer"
#endif
    CCTableWalk(CCTableWalk*& walks, E* next) : next(next), walks_(walks), outer_(walks) { walks = this; }
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif
    CCTableWalk(const CCTableWalk&) = delete;
    CCTableWalk& operator=(const CCTableWalk&) = delete;
    ~CCTableWalk() { walks_ = outer_; }

    static void dropping(CCTableWalk* walks, E* entry) {
        for (; walks; walks = walks->outer_)
            if (walks->next == entry) walks->next = ccTableNext(entry);
    }

    E* next;

private:
    CCTableWalk*& walks_;
    CCTableWalk* outer_;
};
