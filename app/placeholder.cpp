// keeps velder_app non-empty
