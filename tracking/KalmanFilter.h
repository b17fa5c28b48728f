#pragma once

// CKalmanFilter: one axis of a tracked feature (x, y or angle) under a constant-acceleration
// model with unit time step; it predicts the next position and is corrected by measurements.
// Fixed 3 x 3 matrices: nothing is allocated per frame.

#include <array>
#include <cstddef>

class CKalmanFilter {
public:
    using Vector = std::array<double, 3>;
    using Matrix = std::array<Vector, 3>;

    CKalmanFilter();

    // State (initialValue, 0, 0); R = diag(r); Q = diag(q); P = Q.
    void Init(int enabled, double initialValue, double r, double q);
    // F x into stateOut and F P F^T + Q into covOut; either may be null.
    void Predict(Vector* stateOut, Matrix* covOut) const;
    // Corrects the state with measurement z.
    void Update(double z);
    // The predicted position of the next frame; the filter is not changed.
    double GetPrediction() const;

    int IsEnabled() const { return m_enabled; }
    bool IsInitialised() const { return m_initialised != 0; }
    const Vector& GetState() const { return m_state; }
    const Matrix& GetCovariance() const { return m_cov; }
    const Vector& GetGain() const { return m_gain; }

    static Matrix Multiply(const Matrix& a, const Matrix& b);
    // a b^T.
    static Matrix MultiplyTransposed(const Matrix& a, const Matrix& b);
    static Vector Multiply(const Matrix& a, const Vector& v);

private:
    int m_enabled = 0;
    double m_r = 0.0;
    double m_q = 0.0;
    int m_initialised = 0;
    Matrix m_f{};
    Matrix m_h{};
    Matrix m_rMatrix{};
    Matrix m_qMatrix{};
    Vector m_state{};
    Matrix m_cov{};
    Vector m_gain{};
};
