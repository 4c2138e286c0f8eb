#pragma once

// The calculator's inputs as last applied; they change only on a valid Apply.
class CParam {
public:
    virtual ~CParam() = default;

    double GetTemperature() const { return m_dTemperature; }
    void SetTemperature(double degreesCelsius) { m_dTemperature = degreesCelsius; }
    double GetSalinity() const { return m_dSalinity; }
    void SetSalinity(double ppt) { m_dSalinity = ppt; }
    double GetDepth() const { return m_dDepth; }
    void SetDepth(double metres) { m_dDepth = metres; }
    double GetReference() const { return m_dReference; }
    void SetReference(double metresPerSecond) { m_dReference = metresPerSecond; }

private:
    double m_dTemperature = 10.0;
    double m_dSalinity = 35.0;
    double m_dDepth = 0.0;
    double m_dReference = 1490.0;
};
