#pragma once
// An array of plain values that keeps its first N in place and only goes to the heap past
// them. Growing moves the values: hold indices across anything that may append, not
// references. Lives where it was made (no copy, no move), as a member of a fixed record.
#include <algorithm>
#include <cstring>
#include <memory>
#include <type_traits>

template <class T, unsigned N> class CCInlineArray {
    static_assert(std::is_trivially_copyable_v<T> && N > 0);

public:
    CCInlineArray() = default;
    CCInlineArray(const CCInlineArray&) = delete;
    CCInlineArray& operator=(const CCInlineArray&) = delete;
    ~CCInlineArray() { releaseHeap(); }

    unsigned size() const { return size_; }
    bool empty() const { return size_ == 0; }
    unsigned capacity() const { return capacity_; }
    T& operator[](unsigned i) { return data_[i]; }
    const T& operator[](unsigned i) const { return data_[i]; }
    T* begin() { return data_; }
    T* end() { return data_ + size_; }

    void push_back(const T& value) {
        if (size_ == capacity_) grow();
        data_[size_++] = value;
    }
    // The later values move down one place.
    void erase(unsigned i) {
        std::memmove(static_cast<void*>(data_ + i), data_ + i + 1, (size_ - i - 1) * sizeof(T));
        --size_;
    }
    // Back to the values kept in place.
    void clear() {
        releaseHeap();
        size_ = 0;
    }

private:
    void grow() {
        const unsigned capacity = capacity_ * 2;
        auto* bigger = new T[capacity];
        std::copy(data_, data_ + size_, bigger);
        releaseHeap();
        data_ = bigger;
        capacity_ = capacity;
    }
    void releaseHeap() {
        if (data_ != inline_) delete[] data_;
        data_ = inline_;
        capacity_ = N;
    }

    // The bookkeeping first, the values after: a walk reads both in one go.
    T* data_ = inline_;
    unsigned size_ = 0;
    unsigned capacity_ = N;
    T inline_[N]{};
};
