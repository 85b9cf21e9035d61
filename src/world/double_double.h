// Double-double numbers: an unevaluated sum of two doubles carrying about 106 bits.
#pragma once

namespace krello::dd {

// The value hi + lo, with |lo| at most half a unit in the last place of hi. Every operation
// below is built from IEEE double additions, subtractions, multiplications and divisions in a
// fixed order, with no fused multiply-add (the build forbids contraction), so it gives the same
// bits on every machine with IEEE doubles.
struct DD {
    double hi = 0.0;
    double lo = 0.0;
};

// a + b exactly, as a rounded sum and its error (Knuth).
constexpr DD twoSum(double a, double b) {
    const double s = a + b;
    const double bb = s - a;
    const double err = (a - (s - bb)) + (b - bb);
    return {s, err};
}

// a + b exactly, given |a| >= |b| or a == 0 (Dekker).
constexpr DD quickTwoSum(double a, double b) {
    const double s = a + b;
    return {s, b - (s - a)};
}

// a * b exactly, as a rounded product and its error. Veltkamp's split cuts each factor into
// two 26-bit halves whose products are exact, so no fused multiply-add is needed.
constexpr DD twoProduct(double a, double b) {
    constexpr double SPLITTER = 134217729.0;  // 2^27 + 1
    const double ca = SPLITTER * a;
    const double aHi = ca - (ca - a);
    const double aLo = a - aHi;
    const double cb = SPLITTER * b;
    const double bHi = cb - (cb - b);
    const double bLo = b - bHi;
    const double p = a * b;
    const double err = ((aHi * bHi - p) + aHi * bLo + aLo * bHi) + aLo * bLo;
    return {p, err};
}

// The accurate sum: its error is a small multiple of 2^-106 of the result, even when the two
// operands nearly cancel.
constexpr DD add(DD a, DD b) {
    DD s = twoSum(a.hi, b.hi);
    const DD t = twoSum(a.lo, b.lo);
    s.lo += t.hi;
    s = quickTwoSum(s.hi, s.lo);
    s.lo += t.lo;
    return quickTwoSum(s.hi, s.lo);
}

constexpr DD neg(DD a) { return {-a.hi, -a.lo}; }
constexpr DD sub(DD a, DD b) { return add(a, neg(b)); }

constexpr DD mul(DD a, DD b) {
    DD p = twoProduct(a.hi, b.hi);
    p.lo += a.hi * b.lo + a.lo * b.hi;
    return quickTwoSum(p.hi, p.lo);
}

constexpr DD mul(DD a, double b) {
    DD p = twoProduct(a.hi, b);
    p.lo += a.lo * b;
    return quickTwoSum(p.hi, p.lo);
}

// a / b by one correction step on the double quotient.
constexpr DD div(DD a, DD b) {
    const double q1 = a.hi / b.hi;
    const DD r = sub(a, mul(b, q1));
    const double q2 = r.hi / b.hi;
    const DD r2 = sub(r, mul(b, q2));
    const double q3 = r2.hi / b.hi;
    return add(quickTwoSum(q1, q2), DD{q3, 0.0});
}

// The square root by one Newton step from the double root (a must be positive).
constexpr DD sqrt(DD a, double approx) {
    const DD square = twoProduct(approx, approx);
    const DD diff = sub(a, square);
    return add(DD{approx, 0.0}, DD{diff.hi / (2.0 * approx), 0.0});
}

// The double nearest to the value.
constexpr double round(DD a) { return a.hi + a.lo; }

}  // namespace krello::dd
