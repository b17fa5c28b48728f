#include "tracking/KalmanFilter.h"

namespace {

CKalmanFilter::Matrix Diagonal(double value) {
    CKalmanFilter::Matrix m{};
    for (size_t i = 0; i < 3; ++i)
        m[i][i] = value;
    return m;
}

}  // namespace

CKalmanFilter::CKalmanFilter() {
    // The acceleration enters the position with factor 1, not 1/2: the tracker was tuned so.
    m_f = {{{1.0, 1.0, 1.0}, {0.0, 1.0, 1.0}, {0.0, 0.0, 1.0}}};
    m_h[0][0] = 1.0;
}

void CKalmanFilter::Init(int enabled, double initialValue, double r, double q) {
    m_enabled = enabled;
    m_r = r;
    m_q = q;
    m_rMatrix = Diagonal(r);
    m_qMatrix = Diagonal(q);
    m_cov = m_qMatrix;
    m_state = {initialValue, 0.0, 0.0};
    m_initialised = 1;
}

CKalmanFilter::Matrix CKalmanFilter::Multiply(const Matrix& a, const Matrix& b) {
    Matrix out{};
    for (size_t i = 0; i < 3; ++i)
        for (size_t j = 0; j < 3; ++j)
            out[i][j] = a[i][0] * b[0][j] + a[i][1] * b[1][j] + a[i][2] * b[2][j];
    return out;
}

CKalmanFilter::Matrix CKalmanFilter::MultiplyTransposed(const Matrix& a, const Matrix& b) {
    Matrix out{};
    for (size_t i = 0; i < 3; ++i)
        for (size_t j = 0; j < 3; ++j)
            out[i][j] = a[i][0] * b[j][0] + a[i][1] * b[j][1] + a[i][2] * b[j][2];
    return out;
}

CKalmanFilter::Vector CKalmanFilter::Multiply(const Matrix& a, const Vector& v) {
    Vector out{};
    for (size_t i = 0; i < 3; ++i)
        out[i] = a[i][0] * v[0] + a[i][1] * v[1] + a[i][2] * v[2];
    return out;
}

void CKalmanFilter::Predict(Vector* stateOut, Matrix* covOut) const {
    if (stateOut)
        *stateOut = Multiply(m_f, m_state);
    if (covOut) {
        Matrix cov = Multiply(m_f, MultiplyTransposed(m_cov, m_f));
        for (size_t i = 0; i < 3; ++i)
            for (size_t j = 0; j < 3; ++j)
                cov[i][j] += m_qMatrix[i][j];
        *covOut = cov;
    }
}

void CKalmanFilter::Update(double z) {
    Vector predictedState{};
    Matrix predictedCov{};
    Predict(&predictedState, &predictedCov);
    const double s = predictedCov[0][0] + m_rMatrix[0][0];
    const double inverse = 1.0 / s;
    for (size_t i = 0; i < 3; ++i)
        m_gain[i] = predictedCov[i][0] * inverse;
    const double innovation = z - predictedState[0];
    for (size_t i = 0; i < 3; ++i)
        m_state[i] = innovation * m_gain[i] + predictedState[i];
    Matrix m = Diagonal(1.0);
    for (size_t i = 0; i < 3; ++i)
        m[i][0] -= m_gain[i];
    m_cov = Multiply(m, predictedCov);
}

double CKalmanFilter::GetPrediction() const {
    return m_state[0] + m_state[1] + m_state[2];
}
