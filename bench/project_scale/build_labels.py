#!/usr/bin/env python3
"""The baseline of a first build: a plain script that reads a project file with Python's sqlite3 and writes the
trainer's label files and lists, nothing else (no checks, no journal, no sync).

    build_labels.py PROJECT.data OUTPUT_FOLDER

Makes an index on dataset_roi(IMAGE_ID) when the file has none (timed apart), then reads the classes and the images
and, image by image through the index, the boxes, writing OUTPUT_FOLDER/Images/<name up to its last '.'>.txt with one
"class cx cy w h" line per box, custom.names, train.txt and test.txt. Prints "index_ms <ms>" and "build_ms <ms>".
"""

import os
import sqlite3
import sys
import time


def main():
    project_file, output = sys.argv[1], sys.argv[2]
    images_folder = os.path.join(output, "Images")
    os.makedirs(images_folder, exist_ok=True)
    connection = sqlite3.connect(project_file)

    start = time.perf_counter()
    connection.execute("CREATE INDEX IF NOT EXISTS bench_roi_image ON dataset_roi(IMAGE_ID)")
    connection.commit()
    index_ms = (time.perf_counter() - start) * 1000.0

    start = time.perf_counter()
    # Line i of custom.names is class index i: the classes in the table's order.
    classes = connection.execute("SELECT ID, NAME FROM category").fetchall()
    class_index = {class_id: index for index, (class_id, _) in enumerate(classes)}
    with open(os.path.join(output, "custom.names"), "w") as names:
        names.write("".join(name + "\n" for _, name in classes))

    lists = {"train": [], "test": []}
    boxes = connection.cursor()
    for image_id, name, kind, width, height in connection.execute(
        "SELECT ID, NAME, TYPE, WIDTH, HEIGHT FROM dataset_image"
    ):
        if kind not in lists:
            continue
        lists[kind].append("Images/" + name + "\n")
        lines = []
        for x, y, w, h, category in boxes.execute(
            "SELECT X, Y, WIDTH, HEIGHT, CATEGORY_ID FROM dataset_roi WHERE IMAGE_ID = ?", (image_id,)
        ):
            lines.append(
                "%d %f %f %f %f\n"
                % (max(class_index.get(category, 0), 0), (x + w * 0.5) / width, (y + h * 0.5) / height,
                   w / width, h / height)
            )
        dot = name.rfind(".")
        with open(os.path.join(images_folder, (name if dot < 0 else name[:dot]) + ".txt"), "w") as label:
            label.write("".join(lines))
    for kind, entries in lists.items():
        with open(os.path.join(output, kind + ".txt"), "w") as image_list:
            image_list.write("".join(entries))
    build_ms = (time.perf_counter() - start) * 1000.0
    connection.close()
    print("index_ms %.1f" % index_ms)
    print("build_ms %.1f" % build_ms)


if __name__ == "__main__":
    main()
