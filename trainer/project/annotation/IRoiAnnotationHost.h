#pragma once

#include <QString>

// What the annotation of the project's boxes asks of the project it belongs to. The project controller's side
// implements it (CRoiAnnotationHost); tests hand in their own answers.
class IRoiAnnotationHost
{
public:
    virtual ~IRoiAnnotationHost() = default;

    // True while the trainer is stopped; otherwise tells the user and gives false.
    virtual bool CommandStopped() = 0;
    // True when the class chooser exists.
    virtual bool HasChooser() const = 0;
    // Fills and shows the class chooser; true with the chosen name when the user accepted.
    virtual bool ChooseClass(QString& strClass) = 0;
    // As ChooseClass, for a box bound to a row whose class was deleted: the chooser says so.
    virtual bool ChooseDeletedClass(QString& strClass) = 0;
    // True with a class name when a new box takes that class without asking.
    virtual bool QuickClass(QString& strClass) = 0;
    // Revalidates one project image by its ID.
    virtual void ValidateImage(int nImageID) = 0;
};
