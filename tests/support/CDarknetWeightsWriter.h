#pragma once

#include <QByteArray>
#include <QString>

// Writes a weights file in the trainer's format (header 0.2.0 with a 64-bit "seen", then per convolutional layer the
// biases, the batch-norm scales, means and variances when it has them, and the filters) for a network configuration,
// filled from a fixed seed. Filters are drawn so that activations keep about unit size through the layers, which
// gives a fresh network's spread of scores and box sizes: a few training steps cannot give that, since the batch-norm
// running statistics stay at their starting values and every score saturates.
class CDarknetWeightsWriter
{
public:
    // The number of floats the configuration's layers read; -1 when it names a layer this writer does not know.
    static qint64 FloatCount(const QByteArray& config);
    // Writes the weights; nMissingFloats leaves that many floats off the end (a file that does not fit).
    // The biases are added to the objectness and to the class scores of every box of the yolo layers: negative ones
    // make most boxes background and most classes unlikely, as with a trained network, where a fresh one finds every
    // class everywhere.
    static bool Write(const QByteArray& config, const QString& strWeightsFile, unsigned nSeed,
                      qint64 nMissingFloats = 0, float fObjectnessBias = 0.0f, float fClassBias = 0.0f);
};
