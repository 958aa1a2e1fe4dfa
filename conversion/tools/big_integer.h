#pragma once
// Minimal unsigned big integer for the power-of-ten generator and its proof: multiply by a
// small factor, shift, compare, subtract. Little-endian 32-bit limbs, no leading zero limbs.

#include <algorithm>
#include <cstdint>
#include <vector>

namespace pound::tools {

class BigInteger {
  public:
    explicit BigInteger(std::uint64_t value = 0) {
        for (; value != 0; value >>= 32)
            limbs_.push_back(static_cast<std::uint32_t>(value));
    }

    static BigInteger PowerOfTen(int k) {
        BigInteger result(1);
        for (int i = 0; i < k; ++i)
            result.MultiplySmall(10);
        return result;
    }

    void MultiplySmall(std::uint32_t factor) {
        std::uint64_t carry = 0;
        for (std::uint32_t& limb : limbs_) {
            const std::uint64_t product = std::uint64_t{limb} * factor + carry;
            limb = static_cast<std::uint32_t>(product);
            carry = product >> 32;
        }
        if (carry != 0)
            limbs_.push_back(static_cast<std::uint32_t>(carry));
    }

    BigInteger ShiftedLeft(int count) const {
        BigInteger result;
        if (limbs_.empty())
            return result;
        const int limbShift = count / 32, bitShift = count % 32;
        result.limbs_.assign(static_cast<std::size_t>(limbShift), 0);
        std::uint32_t carry = 0;
        for (std::uint32_t limb : limbs_) {
            result.limbs_.push_back(bitShift == 0 ? limb : (limb << bitShift) | carry);
            carry = bitShift == 0 ? 0 : limb >> (32 - bitShift);
        }
        if (carry != 0)
            result.limbs_.push_back(carry);
        return result;
    }

    int BitLength() const {
        if (limbs_.empty())
            return 0;
        int bits = static_cast<int>(limbs_.size() - 1) * 32;
        for (std::uint32_t top = limbs_.back(); top != 0; top >>= 1)
            ++bits;
        return bits;
    }

    bool Bit(int index) const {
        const auto limb = static_cast<std::size_t>(index / 32);
        return limb < limbs_.size() && ((limbs_[limb] >> (index % 32)) & 1) != 0;
    }

    // Bits [from, from + 64) as an integer.
    std::uint64_t Bits64(int from) const {
        std::uint64_t result = 0;
        for (int i = 63; i >= 0; --i)
            result = (result << 1) | (Bit(from + i) ? 1u : 0u);
        return result;
    }

    // Whether any bit below `index` is set.
    bool AnyBitBelow(int index) const {
        for (int i = 0; i < index; ++i) {
            if (Bit(i))
                return true;
        }
        return false;
    }

    friend int Compare(const BigInteger& a, const BigInteger& b) {
        if (a.limbs_.size() != b.limbs_.size())
            return a.limbs_.size() < b.limbs_.size() ? -1 : 1;
        for (std::size_t i = a.limbs_.size(); i-- > 0;) {
            if (a.limbs_[i] != b.limbs_[i])
                return a.limbs_[i] < b.limbs_[i] ? -1 : 1;
        }
        return 0;
    }

    // a - b for a >= b.
    friend BigInteger Difference(const BigInteger& a, const BigInteger& b) {
        BigInteger result = a;
        std::int64_t borrow = 0;
        for (std::size_t i = 0; i < result.limbs_.size(); ++i) {
            std::int64_t value = std::int64_t{result.limbs_[i]} - borrow -
                                 (i < b.limbs_.size() ? std::int64_t{b.limbs_[i]} : 0);
            borrow = value < 0 ? 1 : 0;
            result.limbs_[i] = static_cast<std::uint32_t>(value + (borrow << 32));
        }
        while (!result.limbs_.empty() && result.limbs_.back() == 0)
            result.limbs_.pop_back();
        return result;
    }

  private:
    std::vector<std::uint32_t> limbs_;
};

}  // namespace pound::tools
